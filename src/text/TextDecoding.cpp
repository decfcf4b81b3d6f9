#include "text/TextDecoding.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <memory>
#include <vector>

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

std::u32string FromUtf16(const std::vector<char16_t>& units, std::size_t count) {
    std::u32string text;
    text.reserve(count);
    for (std::size_t i = 0; i < count;) {
        char32_t c = 0;
        U16_NEXT(units.data(), i, count, c);
        text.push_back(U_IS_SURROGATE(c) ? kReplacementCharacter : c);
    }
    return text;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<std::u32string> DecodeCharset(std::string_view bytes, std::string_view charset) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(std::string(charset).c_str(), &status));
    if (U_FAILURE(status) || !converter) return std::nullopt;
    std::vector<char16_t> units(2 * bytes.size() + 2);
    status = U_ZERO_ERROR;
    const int32_t count =
        ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    return FromUtf16(units, static_cast<std::size_t>(count));
}

std::u32string DecodeDocumentText(std::string_view bytes, std::size_t maxLength,
                                  std::string_view declaredCharset) {
    std::optional<std::u32string> text;
    if (!declaredCharset.empty() && !StartsWith(bytes, "\xEF\xBB\xBF")) text = DecodeCharset(bytes, declaredCharset);
    if (text) {
    } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        text = DecodeCharset(bytes.substr(3), "UTF-8");
    } else {
        UErrorCode status = U_ZERO_ERROR;
        Converter strict(ucnv_open("UTF-8", &status));
        ucnv_setToUCallBack(strict.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        std::vector<char16_t> units(bytes.size() + 2);
        const int32_t count =
            ucnv_toUChars(strict.get(), units.data(), static_cast<int32_t>(units.size()),
                          bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        text = U_SUCCESS(status) ? FromUtf16(units, static_cast<std::size_t>(count))
                                 : DecodeCharset(bytes, "windows-1251");
    }
    if (!text) return {};
    if (text->size() > maxLength) text->resize(maxLength);
    return std::move(*text);
}
