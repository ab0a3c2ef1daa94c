#include "macro/CQelMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace veldran {

namespace {

constexpr int kCharWidth = 8;
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 1;
constexpr int kTextIndent = 10;
constexpr int kSeparatorIndent = 25;

struct StoredItem {
    const char* text; // UTF-8; shown in the user's language (the holders are never shown)
    int id;           // -1 opens the items that follow up to the matching End
};
constexpr int kEnd = -2;

// The menus as stored: a holder item whose pop-up is the menu that is shown.
constexpr StoredItem kMacroContextMenu[] = {
    {"MENU_CN", -1},
    {QT_TRANSLATE_NOOP("CQelMenu", "Botão Esquerdo"), -1},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para baixo"), kCmdLeftDown},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para cima"), kCmdLeftUp},
    {nullptr, kEnd},
    {QT_TRANSLATE_NOOP("CQelMenu", "Botão Direito"), -1},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para baixo"), kCmdRightDown},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para cima"), kCmdRightUp},
    {nullptr, kEnd},
    {QT_TRANSLATE_NOOP("CQelMenu", "Botão do Meio"), -1},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para baixo"), kCmdMiddleDown},
    {QT_TRANSLATE_NOOP("CQelMenu", "Para cima"), kCmdMiddleUp},
    {nullptr, kEnd},
    {QT_TRANSLATE_NOOP("CQelMenu", "Modificar Delay"), kCmdModifyDelay},
    {QT_TRANSLATE_NOOP("CQelMenu", "Apagar item"), kCmdDeleteItem},
    {nullptr, kEnd},
};

constexpr StoredItem kTrayMenu[] = {
    {"Menu_Tray", -1},
    {QT_TRANSLATE_NOOP("CQelMenu", "Mostrar a Janela UI"), kCmdShowWindow},
    {QT_TRANSLATE_NOOP("CQelMenu", "Profiles for programs"), kCmdProgramProfiles},
    {QT_TRANSLATE_NOOP("CQelMenu", "Stop macros"), kCmdStopMacros},
    {QT_TRANSLATE_NOOP("CQelMenu", "Sair do Driver"), kCmdExitDriver},
    {nullptr, kEnd},
};

template <std::size_t N> void build(QMenu* top, const StoredItem (&items)[N]) {
    QMenu* current = top;
    for (const StoredItem& item : items) {
        if (item.id == kEnd) {
            current = qobject_cast<QMenu*>(current->parent());
        } else if (item.id == -1) {
            auto* sub = new QMenu(QCoreApplication::translate("CQelMenu", item.text), current);
            current->addMenu(sub);
            current = sub;
        } else {
            QAction* action =
                current->addAction(QCoreApplication::translate("CQelMenu", item.text));
            action->setData(item.id);
        }
    }
}

// The entry a measuring or drawing request stands for: its text and kind.
MenuItemEntry entryOf(const QStyleOptionMenuItem& option) {
    switch (option.menuItemType) {
    case QStyleOptionMenuItem::Separator:
        return {QString(), 0};
    case QStyleOptionMenuItem::SubMenu:
        return {option.text, -1};
    default:
        return {option.text, 1}; // any command: only separators are drawn differently
    }
}

} // namespace

// Sizes and draws the items of the menus that ConvertToOwnerDraw handed over; everything else
// (frames, scrollers, other widgets) keeps the application's style.
class CQelMenu::Style final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item != nullptr) {
            return MeasureItem(entryOf(*item));
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuItem && item != nullptr &&
            item->menuItemType != QStyleOptionMenuItem::EmptyArea) {
            painter->save();
            painter->setFont(item->font);
            DrawItem(*painter, item->rect, entryOf(*item), (item->state & State_Selected) != 0);
            painter->restore();
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelMenu) {
            painter->fillRect(option->rect, QColor::fromRgb(kMenuBandColor));
            return;
        }
        if (element == PE_FrameMenu) {
            painter->save();
            painter->setPen(Qt::black);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

CQelMenu::CQelMenu(int menuId)
    : style_(std::make_unique<Style>()), menu_(std::make_unique<QMenu>()) {
    if (menuId == kMacroContextMenuId) {
        build(menu_.get(), kMacroContextMenu);
    } else if (menuId == kTrayMenuId) {
        build(menu_.get(), kTrayMenu);
    }
}

CQelMenu::~CQelMenu() = default;

QMenu* CQelMenu::popup() const {
    const auto actions = menu_->actions();
    return actions.isEmpty() ? nullptr : actions.first()->menu();
}

bool CQelMenu::ConvertToOwnerDraw(QMenu* menu) {
    if (menu == nullptr) {
        return true;
    }
    menu->setStyle(style_.get());
    for (QAction* action : menu->actions()) {
        if (itemCount_ < kMenuEntryCapacity) {
            MenuItemEntry& entry = entries_[static_cast<std::size_t>(itemCount_)];
            entry.text = action->isSeparator() ? QString() : action->text();
            entry.id = action->menu() != nullptr ? -1
                       : action->isSeparator()   ? 0
                                                 : action->data().toInt();
            action->setProperty("qelMenuEntry", itemCount_);
            ++itemCount_;
        }
        if (action->menu() != nullptr) {
            ConvertToOwnerDraw(action->menu());
        }
    }
    return true;
}

QSize CQelMenu::MeasureItem(const MenuItemEntry& entry) {
    return {static_cast<int>(entry.text.size()) * kCharWidth,
            entry.id == 0 ? kSeparatorHeight : kItemHeight};
}

void CQelMenu::DrawItem(QPainter& painter, const QRect& rect, const MenuItemEntry& entry,
                        bool highlighted) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (entry.id == 0) {
        // A raised frame: top and left red, right and bottom blue, the later sides drawn over.
        const QRect frame = rect.adjusted(kSeparatorIndent, 0, 0, 0);
        if (frame.width() <= 0 || frame.height() <= 0) {
            return;
        }
        const QColor red(255, 0, 0);
        const QColor blue(0, 0, 255);
        painter.fillRect(frame.left(), frame.top(), frame.width() - 1, 1, red);
        painter.fillRect(frame.left(), frame.top(), 1, frame.height() - 1, red);
        painter.fillRect(frame.right(), frame.top(), 1, frame.height(), blue);
        painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, blue);
        return;
    }
    if (!highlighted) {
        painter.fillRect(rect, QColor::fromRgb(kMenuBandColor));
    } else {
        // An outline, then one line per pixel row from blue towards cyan.
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        const QRect inner = rect.adjusted(1, 1, -1, -1);
        const int h = inner.height();
        if (h > 0 && inner.width() > 0) {
            const int step = static_cast<int>(255.0 / h);
            for (int row = 0; row < h; ++row) {
                painter.setPen(QColor(0, (step * row) % 256, 255));
                painter.drawLine(inner.left(), inner.top() + row, inner.right(), inner.top() + row);
            }
        }
    }
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(kTextIndent, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     entry.text);
}

} // namespace veldran
