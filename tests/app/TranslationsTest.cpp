// The English translation: finished for every text the sources mark, placeholders kept; its menu
// texts fit the rows the owner-drawn menus give them; and the messages of the configuration and
// device layers reach the translation.
#include "app/CoreMessages.h"
#include "config/ConfigMessages.h"
#include "config/FunctionCode.h"
#include "macro/CQelMenu.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace veldran {
namespace {

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

QStringList placeholders(const QString& text) {
    QStringList found;
    for (const QRegularExpressionMatch& m : QRegularExpression("%\\d").globalMatch(text)) {
        found << m.captured();
    }
    found.sort();
    return found;
}

TEST(EnglishTranslation, EveryMarkedTextHasAFinishedTranslationWithItsPlaceholders) {
    // lupdate over the sources into a copy of the file: a text marked since the last refresh
    // shows up there as unfinished.
    QTemporaryDir dir;
    const QString copy = dir.filePath("veldran_en.ts");
    ASSERT_TRUE(QFile::copy(env("VELDRAN_SOURCE_DIR") + "/translations/veldran_en.ts", copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(env("VELDRAN_SOURCE_DIR"));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(VELDRAN_LUPDATE, QString(VELDRAN_LUPDATE_OPTIONS).split('|') << "-ts" << copy);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAll().toStdString();

    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QRegularExpression message(
        "<source>(.*?)</source>\\s*<translation( type=\"[a-z]+\")?>(.*?)</translation>",
        QRegularExpression::DotMatchesEverythingOption);
    int count = 0;
    for (const QRegularExpressionMatch& m :
         message.globalMatch(QString::fromUtf8(file.readAll()))) {
        ++count;
        const std::string source = m.captured(1).toStdString();
        EXPECT_TRUE(m.captured(2).isEmpty() && !m.captured(3).isEmpty())
            << "no finished English translation of \"" << source
            << "\": run cmake --build build/default --target update-translations and translate it "
               "in translations/veldran_en.ts";
        EXPECT_EQ(placeholders(m.captured(3)), placeholders(m.captured(1))) << source;
    }
    EXPECT_GE(count, 20);
}

TEST(EnglishTranslation, MenuTextsFitTheirRows) {
    QTranslator english;
    ASSERT_TRUE(english.load(env("VELDRAN_BIN_DIR") + "/translations/veldran_en.qm"));
    for (const bool translated : {false, true}) {
        if (translated) {
            QCoreApplication::installTranslator(&english);
        }
        for (const int id : {kMacroContextMenuId, kTrayMenuId}) {
            CQelMenu menu(id);
            menu.ConvertToOwnerDraw(menu.menu());
            const QFontMetrics metrics(menu.popup()->font());
            for (int i = 1; i < menu.itemCount(); ++i) { // entry 0 holds the menu, never shown
                const MenuItemEntry& entry = menu.entry(i);
                // The text starts 10 pixels into its row.
                EXPECT_LE(10 + metrics.horizontalAdvance(entry.text),
                          CQelMenu::MeasureItem(entry).width())
                    << entry.text.toStdString();
            }
        }
    }
    QCoreApplication::removeTranslator(&english);
}

// Answers every look-up with the source text in brackets.
class BracketingTranslator : public QTranslator {
public:
    QString translate(const char*, const char* source, const char*, int) const override {
        return '[' + QString::fromUtf8(source) + ']';
    }
    bool isEmpty() const override { return false; }
};

TEST(CoreMessages, TheTextsOfTheLowerLayersAreLookedUp) {
    BracketingTranslator brackets;
    QCoreApplication::installTranslator(&brackets);
    EXPECT_EQ(translatedCoreMessage(kCode19Message), '[' + QString::fromUtf8(kCode19Message) + ']');
    const std::string saveFailed = profileSaveFailedMessage("/home/ana/.config/veldran/config.ini");
    EXPECT_EQ(translatedCoreMessage(saveFailed), '[' + QString::fromStdString(saveFailed) + ']');
    EXPECT_EQ(translatedCoreMessage("an unmarked text"), "an unmarked text");
    QCoreApplication::removeTranslator(&brackets);
}

} // namespace
} // namespace veldran
