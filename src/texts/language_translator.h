#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "component/component.h"
#include "module/plugin.h"

namespace webrill::texts {

// The texts of one language file for one pair of languages.
struct TranslationDictionary {
    std::map<std::string, std::string> Exact;
    std::map<std::string, std::string> Lower;  // lower-cased sources that differ from their source
    bool Utf8 = false;
    std::string BiDiMode;
    int32_t Locale = 0;
    int32_t Charset = 1;
};

enum class CollectMode { None, Untranslated, UntranslatedWithObjects, Unused, All };
enum class CollectFileMode { New, Rewrite, Append };

inline constexpr uint32_t kDictionaryLifetimeMs = 20000;
inline constexpr size_t kDirectiveLines = 19;

// Replaces English texts by those of a language file, in place, on the objects that hold them.
class TLanguageTranslator : public module::ITranslator {
  public:
    TLanguageTranslator();
    ~TLanguageTranslator() override;  // writes the collected texts

    std::string LanguageFile = "app.lng";
    std::vector<std::string> ComponentProperties{"CAPTION", "HINT", "TEXT", "TITLE", "CAPTIONS"};
    std::function<void(TLanguageTranslator&, const TranslationDictionary&)> OnAfterTranslate;

    // "[Languages]" "Default" of the language file; empty when it has none.
    std::string DefaultLanguage() const;
    std::string FileLanguage() override { return DefaultLanguage(); }

    void Translate(module::TzunPlugin& component, const std::string& language,
                   const std::string& from) override;
    void TranslateObject(component::TComponent& object, const std::string& language,
                         const std::string& from) override;
    // The translation of one text by the loaded dictionary; the text itself when there is none.
    std::string TranslateText(const std::string& text);

    // Reads a language file's dictionary for the pair (exposed for the tests).
    static TranslationDictionary ReadDictionary(std::string_view fileText, const std::string& from,
                                                const std::string& to, CollectMode* collect = nullptr,
                                                CollectFileMode* fileMode = nullptr);

  private:
    bool Prepare(const std::string& language, const std::string& from);
    std::string Lookup(const std::string& text, const std::string& holder);
    void TranslateComponent(component::TComponent& object, const std::string& path);
    void WriteCollected();

    std::recursive_mutex lock_;  // the dictionary, for the whole of a translation
    TranslationDictionary dictionary_;
    bool loaded_ = false;
    std::string from_, to_;
    uint32_t lastUse_ = 0;
    CollectMode collect_ = CollectMode::None;
    CollectFileMode fileMode_ = CollectFileMode::New;
    std::set<std::string> untranslated_;
    std::set<std::string> used_;
};

}  // namespace webrill::texts
