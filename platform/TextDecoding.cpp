#include "platform/TextDecoding.h"

#include "platform/ByteText.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace pembrill {

namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not a
// valid one (overlong forms, surrogates and values past U+10FFFF included).
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    uint32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (overlong || surrogate || value > 0x10FFFF)
        return 0;
    return length;
}

bool IsValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// A byte its code page leaves undefined: the character of the same value.
void AppendByteAsCharacter(std::string& out, unsigned char value) {
    if (value < 0x80) {
        out += static_cast<char>(value);
        return;
    }
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
}

struct LocaleCodePage {
    const char* Language;
    const char* Territory; // "" for every territory
    int CodePage;
};

// The ANSI code pages Windows gives these languages.
constexpr LocaleCodePage LocaleCodePages[] = {
    {"hu", "", 1250},  {"pl", "", 1250},  {"cs", "", 1250}, {"sk", "", 1250},  {"sl", "", 1250},
    {"hr", "", 1250},  {"ro", "", 1250},  {"ru", "", 1251}, {"uk", "", 1251},  {"bg", "", 1251},
    {"be", "", 1251},  {"sr", "", 1251},  {"el", "", 1253}, {"tr", "", 1254},  {"he", "", 1255},
    {"ar", "", 1256},  {"fa", "", 1256},  {"lt", "", 1257}, {"lv", "", 1257},  {"et", "", 1257},
    {"vi", "", 1258},  {"th", "", 874},   {"ja", "", 932},  {"zh", "CN", 936}, {"ko", "", 949},
    {"zh", "TW", 950}, {"zh", "HK", 950},
};

constexpr int WesternCodePage = 1252;

int CodePageFromEnvironment() {
    if (const char* forced = std::getenv("PEMBRILL_CODEPAGE")) {
        int32_t codePage = 0;
        if (TryDecimalStrToInt(forced, codePage) && codePage > 0)
            return codePage;
    }
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return CodePageOfLocale(value);
    }
    return WesternCodePage;
}

#ifdef _WIN32

std::wstring WideOf(const std::string& bytes, UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

// A code page the system does not know decodes nothing.
std::string Decode(const std::string& bytes, int codePage) {
    std::wstring wide = WideOf(bytes, static_cast<UINT>(codePage));
    if (wide.empty())
        wide = WideOf(bytes, WesternCodePage);
    return FromWide(wide);
}

#else

// One conversion descriptor per code page and thread: opening one costs more
// than decoding a line, and a descriptor must not be shared between threads.
class CodePageDecoder {
public:
    explicit CodePageDecoder(int codePage) : AskedCodePage(codePage), Handle(Open(codePage)) {
        if (Handle == Closed)
            Handle = Open(WesternCodePage);
    }
    ~CodePageDecoder() {
        if (Handle != Closed)
            ::iconv_close(Handle);
    }
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int Asked() const { return AskedCodePage; }

    std::string Decode(const std::string& bytes) {
        std::string out;
        if (Handle == Closed) {
            for (const char c : bytes)
                AppendByteAsCharacter(out, static_cast<unsigned char>(c));
            return out;
        }
        ::iconv(Handle, nullptr, nullptr, nullptr, nullptr);
        // Four bytes of UTF-8 for each byte in covers every ANSI code page.
        std::string buffer(bytes.size() * 4 + 16, '\0');
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        while (inLeft > 0) {
            char* outStart = buffer.data();
            size_t outLeft = buffer.size();
            const size_t result = ::iconv(Handle, &in, &inLeft, &outStart, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (result != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            // Undefined or cut short: that byte as itself, and on.
            AppendByteAsCharacter(out, static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
        }
        char* outStart = buffer.data();
        size_t outLeft = buffer.size();
        ::iconv(Handle, nullptr, nullptr, &outStart, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        return out;
    }

private:
    static inline const iconv_t Closed = reinterpret_cast<iconv_t>(static_cast<intptr_t>(-1));

    static iconv_t Open(int codePage) {
        return ::iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
    }

    int AskedCodePage;
    iconv_t Handle;
};

std::string Decode(const std::string& bytes, int codePage) {
    thread_local std::unique_ptr<CodePageDecoder> decoder;
    if (!decoder || decoder->Asked() != codePage)
        decoder = std::make_unique<CodePageDecoder>(codePage);
    return decoder->Decode(bytes);
}

#endif

} // namespace

int CodePageOfLocale(const std::string& locale) {
    const size_t languageEnd = std::min(locale.find_first_of("_.@"), locale.size());
    const std::string language = LowerAscii(locale.substr(0, languageEnd));
    std::string territory;
    if (languageEnd < locale.size() && locale[languageEnd] == '_') {
        const size_t territoryEnd =
            std::min(locale.find_first_of(".@", languageEnd), locale.size());
        territory = locale.substr(languageEnd + 1, territoryEnd - languageEnd - 1);
    }
    for (const LocaleCodePage& entry : LocaleCodePages) {
        if (language == entry.Language && (!*entry.Territory || territory == entry.Territory))
            return entry.CodePage;
    }
    return WesternCodePage;
}

int UserCodePage() {
#ifdef _WIN32
    static const int codePage = static_cast<int>(::GetACP());
#else
    static const int codePage = CodePageFromEnvironment();
#endif
    return codePage;
}

std::string DecodeForDisplay(const std::string& bytes) {
    return DecodeForDisplay(bytes, UserCodePage());
}

std::string DecodeForDisplay(const std::string& bytes, int codePage) {
    static const std::string Bom = "\xEF\xBB\xBF";
    if (IsValidUtf8(bytes))
        return bytes.compare(0, Bom.size(), Bom) == 0 ? bytes.substr(Bom.size()) : bytes;
    return Decode(bytes, codePage);
}

#ifdef _WIN32

std::wstring ToWide(const std::string& bytes) {
    return WideOf(DecodeForDisplay(bytes), CP_UTF8);
}

std::string FromWide(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

#endif

} // namespace pembrill
