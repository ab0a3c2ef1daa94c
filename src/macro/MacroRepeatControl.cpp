#include "macro/MacroRepeatControl.h"

#include "config/MacroRepeat.h"
#include "config/MacroTable.h"
#include "skin/PageRenderer.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace veldran {
namespace {

constexpr int kCaptionHeight = 18;
constexpr int kRowHeight = 24;
constexpr int kGap = 6;
constexpr int kStepWidth = 26;
// Columns of a push button's picture kept at each end when it is stretched: its chamfers.
constexpr int kEndWidth = 9;

const QColor kTextColor(255, 255, 255);
const QColor kHotTextColor(255, 0, 0);

} // namespace

MacroRepeatControl::MacroRepeatControl(MacroTable& table, std::function<int()> selectedMacro,
                                       QWidget* parent)
    : QWidget(parent), table_(table), selectedMacro_(std::move(selectedMacro)) {
    setObjectName(QStringLiteral("macroRepeatControl"));
    setMouseTracking(true);
    // The page shows through around the buttons.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void MacroRepeatControl::setLook(const QImage& normal, const QImage& over, const QImage& down,
                                 QRect button) {
    looks_ = {normal, over, down};
    source_ = button;
    setFont(skinFont()); // the 10-point "宋体" face of the skinned windows
    update();
}

QRect MacroRepeatControl::partRect(Part part) const {
    const int w = width();
    const int half = (w - kGap) / 2;
    const int modes = kCaptionHeight + 4;
    const int counts = modes + kRowHeight + kGap;
    switch (part) {
    case Part::Once:
        return QRect(0, modes, half, kRowHeight);
    case Part::Loop:
        return QRect(w - half, modes, half, kRowHeight);
    case Part::Fewer:
        return QRect(0, counts, kStepWidth, kRowHeight);
    case Part::Count:
        return QRect(kStepWidth + 4, counts, w - 2 * (kStepWidth + 4), kRowHeight);
    case Part::More:
        return QRect(w - kStepWidth, counts, kStepWidth, kRowHeight);
    case Part::None:
        break;
    }
    return {};
}

MacroRepeatControl::Part MacroRepeatControl::partAt(QPoint at) const {
    for (const Part part : {Part::Once, Part::Count, Part::Loop, Part::Fewer, Part::More}) {
        if (partRect(part).contains(at)) {
            return part;
        }
    }
    return Part::None;
}

QString MacroRepeatControl::partText(Part part, int repeat) const {
    switch (part) {
    case Part::Once:
        return QCoreApplication::translate("MacroRepeatControl", "Once");
    case Part::Loop:
        return QCoreApplication::translate("MacroRepeatControl", "Loop");
    case Part::Fewer:
        return QStringLiteral("-");
    case Part::More:
        return QStringLiteral("+");
    case Part::Count:
        return QCoreApplication::translate("MacroRepeatControl", "%1 times")
            .arg(repeat >= 2 ? repeat : lastCount_);
    case Part::None:
        break;
    }
    return {};
}

void MacroRepeatControl::choose(Part part) {
    const int macro = selectedMacro_ ? selectedMacro_() : -1;
    if (macro < 0) {
        return;
    }
    const int repeat = table_.repeat(macro);
    const int count = repeat >= 2 ? repeat : lastCount_;
    switch (part) {
    case Part::Once:
        table_.setRepeat(macro, kRepeatOnce);
        break;
    case Part::Loop:
        table_.setRepeat(macro, kRepeatLoop);
        break;
    case Part::Count:
        table_.setRepeat(macro, count);
        break;
    case Part::Fewer:
        table_.setRepeat(macro, std::max(2, repeat >= 2 ? count - 1 : count));
        break;
    case Part::More:
        table_.setRepeat(macro, std::min(kRepeatMaxCount, repeat >= 2 ? count + 1 : count));
        break;
    case Part::None:
        return;
    }
    if (const int now = table_.repeat(macro); now >= 2) {
        lastCount_ = now;
    }
    update();
}

void MacroRepeatControl::drawButton(QPainter& painter, const QRect& to, const QImage& look) const {
    if (look.isNull() || source_.isEmpty()) {
        return;
    }
    const int end = std::min(kEndWidth, std::min(source_.width(), to.width()) / 2);
    const QRect src = source_;
    painter.drawImage(QRect(to.x(), to.y(), end, to.height()), look,
                      QRect(src.x(), src.y(), end, src.height()));
    painter.drawImage(QRect(to.x() + end, to.y(), to.width() - 2 * end, to.height()), look,
                      QRect(src.x() + end, src.y(), src.width() - 2 * end, src.height()));
    painter.drawImage(QRect(to.right() - end + 1, to.y(), end, to.height()), look,
                      QRect(src.right() - end + 1, src.y(), end, src.height()));
}

void MacroRepeatControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(kTextColor);
    painter.drawText(QRect(0, 0, width(), kCaptionHeight), Qt::AlignCenter,
                     QCoreApplication::translate("MacroRepeatControl", "Repeat"));
    const int macro = selectedMacro_ ? selectedMacro_() : -1;
    const int repeat = macro >= 0 ? table_.repeat(macro) : -1;
    for (const Part part : {Part::Once, Part::Count, Part::Loop, Part::Fewer, Part::More}) {
        const bool inForce = (part == Part::Once && repeat == kRepeatOnce) ||
                             (part == Part::Loop && repeat == kRepeatLoop) ||
                             (part == Part::Count && repeat >= 2);
        const bool hot = macro >= 0 && part == hot_;
        const QImage& look = inForce || (hot && part == pressed_) ? looks_[2]
                             : hot                                ? looks_[1]
                                                                  : looks_[0];
        const QRect r = partRect(part);
        drawButton(painter, r, look);
        painter.setPen(hot ? kHotTextColor : kTextColor);
        painter.drawText(r, Qt::AlignCenter, partText(part, repeat));
    }
}

void MacroRepeatControl::mouseMoveEvent(QMouseEvent* event) {
    const Part part = partAt(event->position().toPoint());
    if (part != hot_) {
        hot_ = part;
        update();
    }
}

void MacroRepeatControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = partAt(event->position().toPoint());
        update();
    }
}

void MacroRepeatControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A button acts when it is released over the part it was pressed on, as the page's do.
    const Part part = partAt(event->position().toPoint());
    if (part == pressed_) {
        choose(part);
    }
    pressed_ = Part::None;
    update();
}

void MacroRepeatControl::enterEvent(QEnterEvent* event) {
    if (pointerEntered_) {
        pointerEntered_();
    }
    QWidget::enterEvent(event);
}

void MacroRepeatControl::leaveEvent(QEvent* event) {
    hot_ = Part::None;
    pressed_ = Part::None;
    update();
    QWidget::leaveEvent(event);
}

} // namespace veldran
