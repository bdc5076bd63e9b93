// The interface languages: every text of the program has an English form that
// keeps its placeholders and item count, and Japanese brings Qt's own dialogs along.

#include "platform/Strings.h"
#include "ui/Language.h"
#include "view/CommandTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <utility>

namespace {

using tMessages = std::map<std::pair<QString, QString>, QString>; // (context, source) -> translation

// The messages of a .ts file; unfinished ones map to an empty text.
tMessages readTs(const QString& path)
{
    tMessages messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const bool unfinished = xml.attributes().value("type") == u"unfinished";
            const QString text = xml.readElementText();
            messages[{context, source}] = unfinished ? QString() : text;
        }
    }
    return messages;
}

QString japanese(const QString& text)
{
    static const QRegularExpression cjk("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
    return cjk.match(text).captured();
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression format("%(?:[-+ #0]*\\d*(?:\\.\\d+)?(?:zu|[dsuxXcf%])|\\d)");
    QStringList found;
    for (auto it = format.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

void collectMenus(const std::vector<strMenuEntry>& entries, std::set<std::string>& texts)
{
    for (const strMenuEntry& e : entries) {
        if (!e.text.empty())
            texts.insert(e.text);
        collectMenus(e.children, texts);
    }
}

const QString kTsFile = MEVKO_SOURCE_DIR "/translations/mevko_en.ts";

class Translations : public ::testing::Test {
protected:
    void TearDown() override { UnloadLanguage(); }
};

} // namespace

TEST_F(Translations, EveryMarkedTextOfTheSourcesIsInTheTranslationFile)
{
    // Extract the texts afresh: a text added to the code but not to the .ts has no English form.
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.ts");
    const std::string command = std::string(MEVKO_LUPDATE) + " -silent -locations none -source-language ja" +
                                " -target-language en " + MEVKO_SOURCE_DIR "/src -ts " + fresh.toStdString();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const tMessages stored = readTs(kTsFile), extracted = readTs(fresh);
    ASSERT_GT(extracted.size(), 300u);
    for (const auto& [key, unused] : extracted)
        EXPECT_TRUE(stored.count(key)) << "not in translations/mevko_en.ts: " << key.first.toStdString() << " / "
                                       << key.second.toStdString() << " (run `ninja update_translations`)";
}

TEST_F(Translations, EveryEnglishTextIsFinishedAndKeepsPlaceholders)
{
    const tMessages stored = readTs(kTsFile);
    ASSERT_FALSE(stored.empty());
    for (const auto& [key, english] : stored) {
        const std::string where = key.first.toStdString() + " / " + key.second.toStdString();
        EXPECT_FALSE(english.isEmpty()) << "unfinished: " << where;
        EXPECT_EQ(japanese(english), QString()) << where;
        EXPECT_EQ(placeholders(english), placeholders(key.second)) << where;
        EXPECT_EQ(english.count('\n'), key.second.count('\n')) << where;
    }
}

TEST_F(Translations, EnglishReachesStringTableAndMenus)
{
    ASSERT_TRUE(LoadLanguage(LANG_ENGLISH));
    for (int id : platform::StringIds()) {
        const std::string& source = platform::SourceString(id);
        const QString english = QString::fromStdString(platform::LoadString(id));
        EXPECT_EQ(japanese(english), QString()) << id << ": " << english.toStdString();
        EXPECT_FALSE(english.isEmpty()) << id;
        // Item lists are indexed by the code: the English list has as many items.
        EXPECT_EQ(english.count(','), QString::fromStdString(source).count(',')) << id;
    }
    EXPECT_EQ(platform::FormatString(40065, "a.dat"), "Saved > a.dat");
    EXPECT_EQ(platform::FormatText(QT_TRANSLATE_NOOP("Strings", " (ほか %d 枚)"), 2), " (and 2 more)");

    std::set<std::string> texts;
    collectMenus(MainMenu(), texts);
    for (const char* popup :
         {"MENU_EDIT1", "MENU_IMAGELIST", "MENU_EFFECTLIST", "MENU_FRAME", "MENU_CELL", "MENU_LINE"})
        collectMenus(PopupMenu(popup), texts);
    ASSERT_GT(texts.size(), 80u);
    for (const std::string& text : texts)
        EXPECT_EQ(japanese(MenuLabel(text)), QString()) << text;

    // Back to the texts as written.
    UnloadLanguage();
    EXPECT_EQ(platform::FormatString(40065, "a.dat"), "保存しました > a.dat");
    EXPECT_EQ(MenuLabel("ファイル(&F)"), QString("ファイル(&F)"));
}

TEST_F(Translations, JapaneseTranslatesQtsOwnButtons)
{
    ASSERT_TRUE(LoadLanguage(LANG_JAPANESE));
    EXPECT_EQ(platform::LoadString(40004), "確認");
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No})
        EXPECT_FALSE(japanese(box.button(b)->text()).isEmpty()) << box.button(b)->text().toStdString();
}

TEST(Language, ChoiceThenSystemLocale)
{
    const struct {
        const char* choice;
        QLocale::Language system;
        eLanguage expected;
    } cases[] = {
        {"ja", QLocale::English, LANG_JAPANESE}, {"en", QLocale::Japanese, LANG_ENGLISH},
        {"", QLocale::Japanese, LANG_JAPANESE},  {"", QLocale::English, LANG_ENGLISH},
        {"", QLocale::French, LANG_ENGLISH},     {"fr", QLocale::Japanese, LANG_JAPANESE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseLanguage(c.choice, QLocale(c.system)), c.expected) << c.choice << " " << int(c.system);
}
