#include "texts/language_translator.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/plugin_dm.h"
#include "support/temp_folder.h"
#include "support/test_host.h"
#include "texts/text_resources.h"

namespace webrill::texts {
namespace {

namespace fs = std::filesystem;

struct Control : component::TComponent {
    Control(TComponent* owner, std::string name, std::string caption, int32_t tag = 0)
        : TComponent(owner, std::move(name), tag), Caption(std::move(caption)) {}
    std::string Caption;
    std::string Hint;
    component::StringList Items;
    const component::PropertyTable& Properties() const override {
        static const component::PropertyTable table({&TComponent::Properties()},
                                                    {component::TextProperty("Caption", &Control::Caption),
                                                     component::TextProperty("Hint", &Control::Hint),
                                                     component::LinesProperty("Captions", &Control::Items)});
        return table;
    }
};

class TranslatorTest : public ::testing::Test {
  protected:
    void SetUp() override { translator.LanguageFile = (folder / "webrill.lng").string(); }
    void Write(const std::string& text) { std::ofstream(translator.LanguageFile, std::ios::binary) << text; }

    webrill::testing::TempFolder temp;
    const fs::path& folder = temp.Path();
    TLanguageTranslator translator;
};

const char* kFile =
    "[Languages]\r\nDefault=DE\r\n\r\n"
    "EN:>Cancel\r\nDE:>Abbrechen\r\n\r\n"
    "EN:>&Open\r\nDE:>&\xD6"
    "ffnen\r\n\r\n"
    "EN:>Close\r\nDE:>Schlie&\xDF"
    "en\r\n\r\n"
    "EN:>Line%0Dbreak\r\nDE:>Zeile%0Dumbruch\r\n\r\n"
    "EN:>Save all\r\nDE:>Alles speichern\r\n\r\n"
    "  EN:>Trimmed  \r\n DE:>Getrimmt\r\n\r\n"
    "EN:>Last\r\nDE:>Letzte";  // no empty line after the last block

TEST_F(TranslatorTest, TheDefaultLanguageComesFromTheLanguagesSection) {
    Write(kFile);
    EXPECT_EQ(translator.DefaultLanguage(), "DE");
    Write("[Other]\nDefault=FR\n");
    EXPECT_EQ(translator.DefaultLanguage(), "");
}

TEST_F(TranslatorTest, LookupsKeepOrDropAcceleratorsAndRestoreControlCharacters) {
    Write(kFile);
    component::TComponent form(nullptr, "frmOption");
    Control* cancel = new Control(&form, "btnCancel", "Cancel");
    Control* open = new Control(&form, "btnOpen", "&Open");
    Control* close = new Control(&form, "btnClose", "Close");
    Control* breaks = new Control(&form, "lblBreak", "Line\rbreak");
    Control* lower = new Control(&form, "lblLower", "SAVE ALL");
    Control* trimmed = new Control(&form, "lblTrim", " Trimmed ");
    Control* last = new Control(&form, "lblLast", "Last");
    Control* accelerated = new Control(&form, "btnCancel2", "Can&cel");
    translator.TranslateObject(form, "DE", "EN");
    EXPECT_EQ(cancel->Caption, "Abbrechen");
    EXPECT_EQ(open->Caption,
              "&\xD6"
              "ffnen");
    EXPECT_EQ(close->Caption,
              "Schlie\xDF"
              "en");  // no "&" in the source: the translation's goes
    EXPECT_EQ(breaks->Caption, "Zeile\rumbruch");
    EXPECT_EQ(lower->Caption, "Alles speichern");
    EXPECT_EQ(trimmed->Caption, "Getrimmt");
    EXPECT_EQ(last->Caption, "Last");
    EXPECT_EQ(accelerated->Caption, "Abbrechen");  // found without its "&"
    EXPECT_EQ(translator.TranslateText("Cancel"), "Abbrechen");
    EXPECT_EQ(translator.TranslateText("Unknown"), "Unknown");
}

TEST_F(TranslatorTest, TagsAndNamesDecideWhatIsTranslated) {
    Write(kFile);
    component::TComponent form(nullptr, "frmOption");
    Control* fixed = new Control(&form, "FmtDate", "Cancel", 9999);
    Control* insideFixed = new Control(fixed, "inner", "Cancel");
    Control* skipped = new Control(&form, "panel", "Cancel", 9998);
    Control* insideSkipped = new Control(skipped, "inner2", "Cancel");
    Control* hidden = new Control(&form, "__hidden", "Cancel");
    Control* shallow = new Control(&form, "_shallow", "Cancel");
    Control* belowShallow = new Control(shallow, "below", "Cancel");
    Control* noCaption = new Control(&form, "noCaption", "Cancel", 10002);
    noCaption->Hint = "Cancel";
    noCaption->Items = {"Cancel", "Close"};
    translator.TranslateObject(form, "DE", "EN");
    EXPECT_EQ(fixed->Caption, "Cancel");
    EXPECT_EQ(insideFixed->Caption, "Cancel");
    EXPECT_EQ(skipped->Caption, "Cancel");
    EXPECT_EQ(insideSkipped->Caption, "Abbrechen");
    EXPECT_EQ(hidden->Caption, "Cancel");
    EXPECT_EQ(shallow->Caption, "Abbrechen");
    EXPECT_EQ(belowShallow->Caption, "Cancel");
    EXPECT_EQ(noCaption->Caption, "Cancel");  // 10002 excludes the caption...
    EXPECT_EQ(noCaption->Hint, "Abbrechen");  // ...not the hint
    EXPECT_EQ(noCaption->Items, (component::StringList{"Abbrechen",
                                                       "Schlie\xDF"
                                                       "en"}));
}

TEST_F(TranslatorTest, MessageTablesAreTranslatedMessageByMessage) {
    Write("EN:>Partial request from %s has been ignored\nDE:>Teilanfrage von %s ignoriert\n\n");
    TTextResources table;
    translator.TranslateObject(table, "DE", "EN");
    EXPECT_EQ(table.MsgPartialIgnored, "Teilanfrage von %s ignoriert");
    EXPECT_EQ(table.MsgPartialProcessed, "Partial request from %s has been processed");
}

TEST_F(TranslatorTest, Utf8FilesAreReadIntoTheCodePage) {
    Write(
        "//Encoding=UTF-8\nEN:>Open\nDE:>\xC3\x96"
        "ffnen \xE4\xB8\xAD\n\n");
    component::TComponent form;
    Control* open = new Control(&form, "x", "Open");
    translator.TranslateObject(form, "DE", "EN");
    EXPECT_EQ(open->Caption,
              "\xD6"
              "ffnen ?");
}

TEST_F(TranslatorTest, UntranslatedTextsAreWrittenWhenTheTranslatorGoes) {
    {
        TLanguageTranslator collecting;
        collecting.LanguageFile = (folder / "c.lng").string();
        std::ofstream(collecting.LanguageFile) << "//saveuntr\nEN:>Cancel\nDE:>Abbrechen\n\n";
        component::TComponent form;
        new Control(&form, "a", "Missing one");
        new Control(&form, "b", "Cancel");
        new Control(&form, "c", "Another\tmissing");
        collecting.TranslateObject(form, "DE", "EN");
    }
    std::ifstream in(folder / "c.lng.new", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "[Languages]\r\n$EN = #1\r\n$DE = #2 (Default)\r\nDefault = DE\r\n\r\n"
              "EN:>Another%09missing\r\nDE:>\r\n\r\nEN:>Missing one\r\nDE:>\r\n\r\n");
}

TEST_F(TranslatorTest, WithoutALanguageFileNothingChanges) {
    translator.LanguageFile.clear();
    component::TComponent form;
    Control* cancel = new Control(&form, "x", "Cancel");
    translator.TranslateObject(form, "DE", "EN");
    EXPECT_EQ(cancel->Caption, "Cancel");
}

TEST(PluginLanguageTest, ALanguageFileWithADefaultTranslatesTheModulesMessages) {
    webrill::testing::CallRecord call(1);
    const std::string file = engine::TaPlugin(call.Rec()).LanguageFilePath();
    std::ofstream(file) << "[Languages]\nDefault=DE\n\nEN:>No data for processing\nDE:>Keine Daten\n\n"
                           "EN:>Large request from %s (more than %d bytes)\nDE:>Zu gro\xDF: %s (%d)\n\n";
    {
        engine::TaPlugin plugin(call.Rec());
        plugin.AfterCreate();
        EXPECT_EQ(plugin.Language, "DE");
        EXPECT_EQ(plugin.MsgNoData, "Keine Daten");
        EXPECT_EQ(plugin.MsgWriteComplete, "Data have been processed successfully");
        EXPECT_EQ(plugin.TextResources->MsgLargeRequest, "Zu gro\xDF: %s (%d)");
    }
    std::ofstream(file) << "[Languages]\nDefault=EN\n\nEN:>No data for processing\nDE:>Keine Daten\n\n";
    {
        engine::TaPlugin plugin(call.Rec());
        plugin.AfterCreate();
        EXPECT_EQ(plugin.MsgNoData, "No data for processing");
    }
    fs::remove(file);
    engine::TaPlugin plugin(call.Rec());
    plugin.AfterCreate();
    EXPECT_EQ(plugin.Language, "EN");
    EXPECT_EQ(plugin.MsgNoData, "No data for processing");
}

}  // namespace
}  // namespace webrill::texts
