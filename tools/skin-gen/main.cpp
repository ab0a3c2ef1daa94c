// veldran-skin-gen: writes the default skin (twenty JPEG pictures and the three layout files)
// into the folder given as its only argument; with --icons, the program's icon as a hicolor
// icon tree instead.
#include "AppIcon.h"
#include "PagePictures.h"
#include "SkinLayout.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

using namespace skingen;

namespace {

// A comma inside a field would split it in two when the driver reads the value back.
QString entry(const QString& name, const QRect& r, const QString& label) {
    if (name.contains(',') || label.contains(',')) {
        std::fprintf(stderr, "veldran-skin-gen: a comma in \"%s\" / \"%s\"\n", qPrintable(name),
                     qPrintable(label));
        std::exit(1);
    }
    return QStringLiteral("%1,%2,%3,%4,%5,%6,FALSE")
        .arg(name)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(label);
}

void writeTable(QTextStream& out, const std::vector<ElementSpec>& table) {
    out << "[BUTTONPOS]\n";
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ElementSpec& e = table[i];
        const QString name = e.name.isEmpty() ? QStringLiteral("unused") : e.name;
        out << i << '=' << entry(name, e.rect, e.label) << '\n';
    }
}

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(text.toUtf8()) >= 0;
}

bool writeLayouts(const QDir& dir) {
    QString mainText;
    {
        QTextStream out(&mainText);
        out << "; Default skin of the VELDRAN GAMING MOUSE driver, made by veldran-skin-gen.\n"
            << "; Each value: name,x,y,width,height,label,FALSE\n";
        writeTable(out, mainElements());
        out << "\n[FUN_STRING]\n";
        const auto& names = functionNames();
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << i << '=' << names[i] << '\n';
        }
    }
    QString colorText;
    {
        QTextStream out(&colorText);
        writeTable(out, colorElements());
    }
    QString advancedText;
    {
        QTextStream out(&advancedText);
        writeTable(out, advancedElements());
        out << "\n[EDIT]\n4=" << entry(QStringLiteral("macroname"), nameEditRect(), {}) << '\n';
        out << "\n[MACRODISPLAY]\n1=" << entry(QStringLiteral("macrolist"), nameListRect(), {})
            << "\n2=" << entry(QStringLiteral("eventlist"), eventListRect(), {}) << '\n';
    }
    return writeText(dir.filePath(QStringLiteral("skin_main_en.ini")), mainText) &&
           writeText(dir.filePath(QStringLiteral("skin_color_en.ini")), colorText) &&
           writeText(dir.filePath(QStringLiteral("skin_advance_en.ini")), advancedText);
}

bool save(const QDir& dir, const char* name, const QImage& image) {
    return image.save(dir.filePath(QString::fromUtf8(name)), "JPG", 95);
}

bool writePictures(const QDir& dir) {
    const QColor pink(stageColor(1));
    bool ok = save(dir, "main_mask.jpg", maskPicture());
    ok = ok && save(dir, "main_normal.jpg", pagePicture(Page::Main, Look::Normal));
    ok = ok && save(dir, "main_over.jpg", pagePicture(Page::Main, Look::Over));
    ok = ok && save(dir, "main_down.jpg", pagePicture(Page::Main, Look::Down));
    ok = ok && save(dir, "advanced_normal.jpg", pagePicture(Page::Advanced, Look::Normal));
    ok = ok && save(dir, "advanced_over.jpg", pagePicture(Page::Advanced, Look::Over));
    ok = ok && save(dir, "advanced_down.jpg", pagePicture(Page::Advanced, Look::Down));
    // The color page's element 7 shows the stage colour: pink at rest (level 1), red in the
    // over picture (level 2), purple in the down picture (level 3), blue in the extra one.
    ok = ok && save(dir, "color_normal_pink.jpg", pagePicture(Page::Color, Look::Normal, pink));
    ok = ok && save(dir, "color_over_red.jpg",
                    pagePicture(Page::Color, Look::Over, QColor(stageColor(2))));
    ok = ok && save(dir, "color_down_purple.jpg",
                    pagePicture(Page::Color, Look::Down, QColor(stageColor(3))));
    ok = ok && save(dir, "color_over_blue.jpg",
                    pagePicture(Page::Color, Look::Normal, QColor(stageColor(0))));
    ok = ok && save(dir, "dpi_slider.jpg", knobPicture());
    ok = ok && save(dir, "menu_mask.jpg", menuMask(kMenuRows));
    ok = ok && save(dir, "menu_normal.jpg", menuPicture(kMenuRows, Look::Normal, true));
    ok = ok && save(dir, "menu_over.jpg", menuPicture(kMenuRows, Look::Over, true));
    ok = ok && save(dir, "menu_down.jpg", menuPicture(kMenuRows, Look::Down, true));
    ok = ok && save(dir, "advanced menu_mask.jpg", menuMask(kAdvancedMenuRows));
    ok = ok &&
         save(dir, "advanced menu_normal.jpg", menuPicture(kAdvancedMenuRows, Look::Normal, false));
    ok = ok &&
         save(dir, "advanced menu_over.jpg", menuPicture(kAdvancedMenuRows, Look::Over, false));
    ok = ok &&
         save(dir, "advanced menu_down.jpg", menuPicture(kAdvancedMenuRows, Look::Down, false));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 4 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--icons")) {
        if (!writeIconTheme(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]))) {
            std::fprintf(stderr, "veldran-skin-gen: cannot write the icons into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: veldran-skin-gen <folder>\n"
                             "       veldran-skin-gen --icons <folder> <icon name>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "veldran-skin-gen: cannot create %s\n", argv[1]);
        return 1;
    }
    if (!writeLayouts(dir) || !writePictures(dir)) {
        std::fprintf(stderr, "veldran-skin-gen: cannot write the skin into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
