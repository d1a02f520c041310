#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/named_lock.h"
#include "platform/registry_hive.h"
#include "rules/config_object.h"
#include "settings/ini_backend.h"
#include "support/temp_folder.h"

namespace webrill::settings {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;

class SettingsStoreTest : public ::testing::Test {
  protected:
    TSettingsStore Store(const std::string& iniFile = {}) {
        TSettingsStore store;
        store.RegistryPath = "\\Software\\Webrill\\";
        store.INIFile = iniFile;
        store.Components = rules::PluginSettingsLines();
        return store;
    }
    testing::TempFolder temp;
    const fs::path& folder = temp.Path();
};

TEST_F(SettingsStoreTest, AFreshSaveWritesOneSectionWithEveryKeyInListOrder) {
    const fs::path ini = folder / "webrill.ini";
    rules::TProxyCodeObject config;
    ASSERT_TRUE(Store(ini).Save(config));
    const std::string text = ReadFile(ini);
    const std::string expected =
        "[Common]\n"
        "Left=576\nTop=229\nHeight=415\nWidth=348\n"
        "Open files dir=\nOpen files dir filter index=1\nSave files dir=\nSave files dir filter index=1\n"
        "Parser config=\n"
        "Max request size=65535\nRequest timeout=300\nExport whole header=True\nParse invalid "
        "requests=False\n"
        "Left trim=False\nRight trim=False\nDate format=DD.MM.YYYY\nTime format=HH\":\"NN\":\"SS\n"
        "Date and time format=DD.MM.YYYY HH\":\"NN\":\"SS\nUse current time=False\nUse current date=False\n"
        "Locale ID=1033\n"
        "Filter=\n"
        "Response type=1\nContent type=0\nHTML text=OK%0D%0A\nHTML file=\nHTML folder=\n";
    EXPECT_EQ(text, expected);

    TSettingsStore prefixed = Store((folder / "prefixed.ini").string());
    prefixed.INIFileSectionPrefix = "Source1";
    ASSERT_TRUE(prefixed.Save(config));
    EXPECT_EQ(ReadFile(folder / "prefixed.ini").rfind("[Source1.Common]\nLeft=576\n", 0), 0u);
}

TEST_F(SettingsStoreTest, ValuesReadBackFromAnIniFile) {
    const fs::path ini = folder / "webrill.ini";
    std::ofstream(ini) << "[common]\nmax request size=1,5\nExport Whole Header=false\nHTML text=a%zz+b\n"
                          "Response type=0x3\nLeft=junk\nParse invalid requests=yes\nDate format=\n"
                          "Filter=1||1||^GET||1%0D%0A\n";
    rules::TProxyCodeObject config;
    config.chkParseInv_Checked = true;
    ASSERT_TRUE(Store(ini).Load(config));
    EXPECT_DOUBLE_EQ(config.spMaxSize_Value, 1.5);
    EXPECT_FALSE(config.chkExportAll_Checked);
    EXPECT_EQ(config.edtHTMLResp_Lines, (component::StringList{"a%zz b"}));
    EXPECT_EQ(config.comboRespType_ItemIndex, 3);
    EXPECT_EQ(config.Left, 0);                // unreadable integer text gives 0
    EXPECT_TRUE(config.chkParseInv_Checked);  // "yes" is no Boolean: the line is skipped
    EXPECT_EQ(config.FmtDate_Text, "");       // an empty string is a value
    EXPECT_EQ(config.Filters_Hint, "1||1||^GET||1\r\n");
    EXPECT_EQ(config.Top, 229);  // missing keys leave the defaults
    EXPECT_NE(ReadFile(ini).find("Parse invalid requests=yes"), std::string::npos);  // a load deletes nothing
}

TEST_F(SettingsStoreTest, TheRegistryKeepsTypedValuesAndDropsMistypedOnes) {
    rules::TProxyCodeObject saved;
    saved.spMaxSize_Value = 1024;
    saved.edtHTMLResp_Lines = {" two", "lines "};
    ASSERT_TRUE(Store().Save(saved));
    EXPECT_TRUE(fs::exists(folder / "lm" / "hive.sqlite"));

    {
        auto hive = platform::RegistryHive::OpenFullAccess(platform::RegistryHiveName::LocalMachine, false);
        ASSERT_TRUE(hive);
        const auto size = hive->GetValue("Software\\Webrill", "max request size");
        ASSERT_TRUE(size);
        EXPECT_EQ(size->ValueType, platform::RegistryValue::Type::Binary);
        EXPECT_EQ(hive->GetValue("Software\\Webrill", "Left")->ValueType,
                  platform::RegistryValue::Type::Dword);
        EXPECT_EQ(hive->GetValue("Software\\Webrill", "HTML text")->Data, "+two%0D%0Alines %0D%0A");
        hive->SetValue("Software\\Webrill", "Request timeout",
                       {platform::RegistryValue::Type::String, "500"});
    }
    rules::TProxyCodeObject loaded;
    ASSERT_TRUE(Store().Load(loaded));
    EXPECT_DOUBLE_EQ(loaded.spMaxSize_Value, 1024);
    EXPECT_EQ(loaded.edtHTMLResp_Lines, saved.edtHTMLResp_Lines);
    EXPECT_DOUBLE_EQ(loaded.spReqTimeout_Value, 300);  // a REG_SZ where a real belongs is not read...
    auto hive = platform::RegistryHive::OpenFullAccess(platform::RegistryHiveName::LocalMachine, false);
    EXPECT_FALSE(hive->GetValue("Software\\Webrill", "Request timeout"));  // ...and is deleted
}

TEST_F(SettingsStoreTest, TheSecondRootServesWhenTheFirstHasNoFullAccess) {
    fs::create_directories(folder / "lm");
    std::ofstream(folder / "lm" / "hive.sqlite") << "";
    fs::permissions(folder / "lm" / "hive.sqlite", fs::perms::owner_read);
    rules::TProxyCodeObject config;
    if (access((folder / "lm" / "hive.sqlite").c_str(), W_OK) == 0)
        GTEST_SKIP() << "root ignores file permissions";
    ASSERT_TRUE(Store().Save(config));
    EXPECT_TRUE(fs::exists(folder / "cu" / "hive.sqlite"));
}

TEST_F(SettingsStoreTest, ALoadWithoutAnyStoredKeyFindsNoRootAndChangesNothing) {
    rules::TProxyCodeObject config;
    config.Left = 1;
    EXPECT_FALSE(Store().Load(config));
    EXPECT_EQ(config.Left, 1);

    TSettingsStore none = Store();
    none.RegistryRoot = TRegistryRoot::rrNone;
    ASSERT_TRUE(Store().Save(config));  // now the second root would be usable...
    EXPECT_FALSE(none.Load(config));    // ...but a first root mapping to no key fails at once
}

TEST_F(SettingsStoreTest, AnIniFileThatDoesNotExistYetIsReadFromTheRegistry) {
    rules::TProxyCodeObject saved;
    saved.Width = 999;
    ASSERT_TRUE(Store().Save(saved));
    rules::TProxyCodeObject loaded;
    ASSERT_TRUE(Store((folder / "later.ini").string()).Load(loaded));
    EXPECT_EQ(loaded.Width, 999);
    EXPECT_FALSE(fs::exists(folder / "later.ini"));
}

TEST_F(SettingsStoreTest, TheCustomBackendReadsAndWritesNothing) {
    rules::TProxyCodeObject config;
    config.Left = 5;
    EXPECT_TRUE(Store(kCustomIniFile).Load(config));
    EXPECT_TRUE(Store(kCustomIniFile).Save(config));
    EXPECT_EQ(config.Left, 5);
    EXPECT_TRUE(fs::is_empty(folder));
    TSettingsStore empty = Store(kCustomIniFile);
    empty.Components.clear();
    EXPECT_FALSE(empty.Save(config));
}

TEST_F(SettingsStoreTest, LinesThatDoNotResolveAreSkippedAndTheRestGoesOn) {
    const fs::path ini = folder / "dialog.ini";
    component::TComponent form(nullptr, "frmOption");
    struct Spin : component::TComponent {
        using TComponent::TComponent;
        double Value = 7;
        const component::PropertyTable& Properties() const override {
            static const component::PropertyTable table({&TComponent::Properties()},
                                                        {component::RealProperty("Value", &Spin::Value)});
            return table;
        }
    };
    new Spin(&form, "spMaxSize");
    TSettingsStore store = Store(ini.string());
    store.Components = {"missing.Value,Gone", "spMaxSize.Nothing,Nope", "spMaxSize.Value,Max request size"};
    ASSERT_TRUE(store.Save(form));
    EXPECT_EQ(ReadFile(ini), "[Common]\nMax request size=7\n");
}

TEST_F(SettingsStoreTest, TheIniLockIsNamedAfterTheFile) {
    EXPECT_EQ(IniBackend::LockName("C:\\Data\\Plug.ini"), "c__data_plug_ini");
}

TEST_F(SettingsStoreTest, TheIniLockExcludesASecondProcess) {
    const std::string name = IniBackend::LockName((folder / "locked.ini").string());
    auto held = std::make_unique<platform::NamedLock>(name);
    const pid_t child = fork();
    if (child == 0) {
        platform::NamedLock mine(name);  // waits for the parent
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0);  // still waiting
    held.reset();
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
}

TEST_F(SettingsStoreTest, ASaveKilledMidwayLeavesAReadableFile) {
    const fs::path ini = folder / "killed.ini";
    rules::TProxyCodeObject config;
    ASSERT_TRUE(Store(ini.string()).Save(config));
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            rules::TProxyCodeObject changing;
            for (int i = 0;; ++i) {
                changing.Width = i;
                changing.Param_Hint = std::string(static_cast<size_t>(i % 4000), 'x');
                Store(ini.string()).Save(changing);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        rules::TProxyCodeObject reloaded;
        reloaded.Left = -1;
        ASSERT_TRUE(Store(ini.string()).Load(reloaded));
        ASSERT_EQ(reloaded.Left, 576) << "round " << round;  // every key is still there
        ASSERT_EQ(reloaded.edtHTMLResp_Lines, (component::StringList{"OK"}));
    }
}

}  // namespace
}  // namespace webrill::settings
