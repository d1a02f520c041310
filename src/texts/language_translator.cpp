#include "texts/language_translator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "abi/cp1252.h"
#include "abi/integer_text.h"
#include "platform/tick_count.h"
#include "texts/text_resources.h"

namespace webrill::texts {

namespace {

constexpr int32_t kSkipWithOwned = 9999;
constexpr int32_t kSkipSelf = 9998;
constexpr int32_t kExclusionTagBase = 10000;
constexpr int32_t kExcludeHint = 1, kExcludeCaption = 2, kExcludeItems = 4, kExcludeStrings = 8;

std::string Trim(std::string_view text, bool controls = false) {
    auto blank = [&](char c) { return c == ' ' || (controls && static_cast<unsigned char>(c) < 32); };
    size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FileLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string EscapeControls(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeControls(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && abi::HexDigitValue(text[i + 1]) >= 0 &&
            abi::HexDigitValue(text[i + 2]) >= 0) {
            plain +=
                static_cast<char>(abi::HexDigitValue(text[i + 1]) * 16 + abi::HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

std::string WithoutAmpersands(std::string text) {
    std::erase(text, '&');
    return text;
}

// UTF-8 to the single-byte code page; characters it cannot hold become "?".
std::string FromUtf8(const std::string& text) {
    std::string narrow;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) {
            narrow += '?';
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        uint8_t byte;
        narrow += abi::UnicodeToCp1252(code, byte) ? static_cast<char>(byte) : '?';
        i += static_cast<size_t>(extra) + 1;
    }
    return narrow;
}

void ReadDirective(const std::string& line, TranslationDictionary& dictionary, CollectMode* collect,
                   CollectFileMode* fileMode) {
    const std::string head = Trim(std::string_view(line).substr(0, 50));
    if (fileMode != nullptr) {
        if (head == "//filenew") *fileMode = CollectFileMode::New;
        if (head == "//filerewrite") *fileMode = CollectFileMode::Rewrite;
        if (head == "//fileappend") *fileMode = CollectFileMode::Append;
    }
    if (collect != nullptr) {
        if (head == "//saveuntr") *collect = CollectMode::Untranslated;
        if (head == "//saveuntrobj") *collect = CollectMode::UntranslatedWithObjects;
        if (head == "//saveunused") *collect = CollectMode::Unused;
        if (head == "//saveall") *collect = CollectMode::All;
    }
    auto option = [&](const char* key) -> std::optional<std::string> {
        const size_t at = head.find(key);
        if (at == std::string::npos) return std::nullopt;
        return abi::AsciiLowerCase(Trim(head.substr(at + std::strlen(key))));
    };
    if (auto encoding = option("Encoding=")) dictionary.Utf8 = *encoding == "utf-8";
    if (auto bidi = option("BiDiMode=")) dictionary.BiDiMode = *bidi;
    if (auto locale = option("Locale="))
        dictionary.Locale = static_cast<int32_t>(std::strtol(locale->c_str(), nullptr, 0));
    if (auto charset = option("Charset=")) {
        static const std::map<std::string, int32_t> sets = {
            {"windows-1250", 238}, {"windows-1251", 204}, {"windows-1252", 0},   {"windows-1253", 161},
            {"windows-1254", 162}, {"windows-1255", 177}, {"windows-1256", 178}, {"windows-1257", 186},
            {"windows-1258", 163}, {"windows-874", 222},  {"shift-jis", 128},    {"hangeul", 129},
            {"johab", 130},        {"gb2312", 134},       {"chinesebig5", 136}};
        const auto found = sets.find(*charset);
        dictionary.Charset = found == sets.end() ? 1 : found->second;
    }
}

}  // namespace

TLanguageTranslator::TLanguageTranslator() = default;

TLanguageTranslator::~TLanguageTranslator() {
    try {
        WriteCollected();
    } catch (...) {
    }
}

std::string TLanguageTranslator::DefaultLanguage() const {
    if (LanguageFile.empty()) return {};
    bool inSection = false;
    for (const std::string& raw : FileLines(ReadWholeFile(LanguageFile))) {
        const std::string line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            inSection = abi::AsciiLowerCase(line) == "[languages]";
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string::npos &&
            abi::AsciiLowerCase(Trim(line.substr(0, equals))) == "default") {
            return Trim(line.substr(equals + 1));
        }
    }
    return {};
}

TranslationDictionary TLanguageTranslator::ReadDictionary(std::string_view fileText, const std::string& from,
                                                          const std::string& to, CollectMode* collect,
                                                          CollectFileMode* fileMode) {
    TranslationDictionary dictionary;
    const std::string sourceTag = from + ":>", targetTag = to + ":>";
    std::string source, target;
    bool inBlock = false;
    const auto lines = FileLines(fileText);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string line = Trim(lines[n]);
        if (n < kDirectiveLines) ReadDirective(line, dictionary, collect, fileMode);
        if (line.rfind("//", 0) == 0) continue;
        if (line.empty()) {
            // An empty line ends the block; only then does its pair count.
            if (inBlock && !source.empty() && !target.empty()) {
                dictionary.Exact[source] = target;
                const std::string lower = abi::AnsiLowerCase(source);
                if (lower != source) dictionary.Lower[lower] = target;
            }
            source.clear();
            target.clear();
            inBlock = false;
            continue;
        }
        inBlock = true;
        if (line.rfind(sourceTag, 0) == 0) source = line.substr(sourceTag.size());
        if (line.rfind(targetTag, 0) == 0) target = line.substr(targetTag.size());
    }
    return dictionary;
}

bool TLanguageTranslator::Prepare(const std::string& language, const std::string& from) {
    if (LanguageFile.empty()) return false;
    const uint32_t now = platform::TickCount();
    // The dictionary lives 20 seconds past the last translation.
    if (loaded_ && (from != from_ || language != to_ || now - lastUse_ > kDictionaryLifetimeMs))
        loaded_ = false;
    if (!loaded_) {
        dictionary_ = ReadDictionary(ReadWholeFile(LanguageFile), from, language, &collect_, &fileMode_);
        from_ = from;
        to_ = language;
        loaded_ = true;
    }
    lastUse_ = now;
    return !dictionary_.Exact.empty() || collect_ != CollectMode::None;
}

std::string TLanguageTranslator::Lookup(const std::string& original, const std::string& holder) {
    const std::string text = Trim(original);
    if (text.empty()) return original;
    const std::string escaped = EscapeControls(text);
    const bool hadControls = escaped != text;
    const std::string bare = WithoutAmpersands(escaped);
    const std::string* found = nullptr;
    const std::string* foundSource = nullptr;
    bool byBare = false;
    for (const std::string* key : {&text, &escaped}) {
        if (auto hit = dictionary_.Exact.find(*key); !found && hit != dictionary_.Exact.end()) {
            found = &hit->second;
            foundSource = &hit->first;
        }
    }
    if (!found) {
        if (auto hit = dictionary_.Exact.find(bare); hit != dictionary_.Exact.end()) {
            found = &hit->second;
            foundSource = &hit->first;
            byBare = true;
        }
    }
    if (!found) {
        if (auto hit = dictionary_.Lower.find(abi::AnsiLowerCase(text)); hit != dictionary_.Lower.end())
            found = &hit->second;
    }
    if (!found) {
        if (collect_ == CollectMode::Untranslated) untranslated_.insert(escaped);
        if (collect_ == CollectMode::UntranslatedWithObjects) untranslated_.insert(holder + escaped);
        return original;
    }
    if (foundSource != nullptr) used_.insert(*foundSource);
    std::string translation = dictionary_.Utf8 ? FromUtf8(*found) : *found;
    if (hadControls) translation = UnescapeControls(translation);
    if (text.find('&') == std::string::npos && !byBare) translation = WithoutAmpersands(translation);
    return translation;
}

std::string TLanguageTranslator::TranslateText(const std::string& text) {
    std::lock_guard guard(lock_);
    if (!loaded_) return text;
    return Lookup(text, {});
}

void TLanguageTranslator::Translate(module::TzunPlugin& component, const std::string& language,
                                    const std::string& from) {
    std::lock_guard guard(lock_);
    if (!Prepare(language, from)) return;
    for (std::string* text :
         {&component.MsgNoData, &component.MsgWriteComplete, &component.MsgWriteCompleteError}) {
        *text = Lookup(*text, "TzunPlugin.");
    }
}

void TLanguageTranslator::TranslateObject(component::TComponent& object, const std::string& language,
                                          const std::string& from) {
    std::lock_guard guard(lock_);
    if (!Prepare(language, from)) return;
    TranslateComponent(object, {});
    if (OnAfterTranslate) OnAfterTranslate(*this, dictionary_);
}

void TLanguageTranslator::TranslateComponent(component::TComponent& object, const std::string& path) {
    if (object.Tag == kSkipWithOwned || object.Name.rfind("__", 0) == 0) return;
    const std::string holder = path + object.ClassName() + "." + object.Name + ".";
    if (object.Tag == kMessageTableTag) {
        if (auto* table = dynamic_cast<TCustomTextResources*>(&object)) {
            for (std::string* message : table->Messages()) {
                try {
                    *message = Lookup(*message, holder);
                } catch (...) {
                }
            }
        }
    } else if (object.Tag != kSkipSelf) {
        const int32_t excluded = object.Tag >= kExclusionTagBase && object.Tag <= kExclusionTagBase + 15
                                     ? object.Tag - kExclusionTagBase
                                     : 0;
        for (const auto& property : object.Properties().All()) {
            const std::string name = abi::AsciiLowerCase(property.Name);
            if (!property.Set ||
                std::none_of(ComponentProperties.begin(), ComponentProperties.end(),
                             [&](const std::string& p) { return abi::AsciiLowerCase(p) == name; })) {
                continue;
            }
            if ((name == "hint" && (excluded & kExcludeHint)) ||
                (name == "caption" && (excluded & kExcludeCaption)) ||
                (name == "items" && (excluded & kExcludeItems)) ||
                (property.Kind == component::PropertyKind::Lines && (excluded & kExcludeStrings))) {
                continue;
            }
            try {
                component::PropertyValue value = property.Get(object);
                if (auto* text = std::get_if<std::string>(&value)) {
                    *text = Lookup(*text, holder);
                } else if (auto* lines = std::get_if<component::StringList>(&value)) {
                    for (std::string& line : *lines)
                        line = Lookup(line, holder);
                } else {
                    continue;
                }
                property.Set(object, value);
            } catch (...) {
            }
        }
    }
    if (object.Name.rfind("_", 0) == 0) return;  // translated, but not what it owns
    const auto owned = object.Components();
    for (component::TComponent* child : owned)
        TranslateComponent(*child, holder);
}

void TLanguageTranslator::WriteCollected() {
    std::lock_guard guard(lock_);
    std::vector<std::string> texts;
    if (collect_ == CollectMode::Unused) {
        for (const auto& [source, target] : dictionary_.Exact) {
            if (!used_.count(source)) texts.push_back(source);
        }
    } else {
        texts.assign(untranslated_.begin(), untranslated_.end());
    }
    if (texts.empty() || LanguageFile.empty()) return;
    const std::string extension = collect_ == CollectMode::Unused ? ".unused" : ".new";
    std::string path = LanguageFile + extension;
    std::error_code error;
    if (fileMode_ == CollectFileMode::New) {
        for (int n = 1; std::filesystem::exists(path, error); ++n)
            path = LanguageFile + "." + std::to_string(n) + extension;
    }
    const bool fresh = fileMode_ != CollectFileMode::Append || !std::filesystem::exists(path, error);
    std::ofstream out(
        path, fileMode_ == CollectFileMode::Append ? std::ios::app | std::ios::binary : std::ios::binary);
    if (fresh) {
        out << "[Languages]\r\n$" << from_ << " = #1\r\n$" << to_ << " = #2 (Default)\r\nDefault = " << to_
            << "\r\n\r\n";
    }
    for (const std::string& text : texts)
        out << from_ << ":>" << text << "\r\n" << to_ << ":>\r\n\r\n";
}

}  // namespace webrill::texts
