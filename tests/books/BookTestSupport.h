#pragma once

// What the book reader tests share: files, UTF-8 views of the text, ZIP
// archives made in memory with libzip, and the shape every result must have.

#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "books/BookText.h"
#include "text/TextDecoding.h"

namespace booktest {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Sample(const std::string& name) {
    return ReadFile(std::string(LMN_TEST_DATA) + "/books/" + name);
}

inline std::string Utf8(std::u32string_view text) { return ToUtf8(text); }
inline std::u32string U32(std::string_view utf8) { return DecodeCharset(utf8, "UTF-8").value(); }

struct Entry {
    std::string name;
    std::string content;
    bool encrypted = false;
};

// A ZIP archive of the entries, deflated, in this order.
inline std::string MakeZip(const std::vector<Entry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    for (const Entry& entry : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        EXPECT_GE(index, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
        if (entry.encrypted) {
            EXPECT_EQ(zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index),
                                              ZIP_EM_AES_256, "secret"),
                      0);
        }
    }
    EXPECT_EQ(zip_close(archive), 0);
    std::string bytes;
    zip_stat_t stat;
    zip_source_stat(target, &stat);
    bytes.resize(stat.size);
    zip_source_open(target);
    zip_source_read(target, bytes.data(), stat.size);
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

// Runs cover the text from 0 in order without gaps and neighbours differ;
// breaks are whole CR LF pairs; no other control character but tab.
inline void ExpectWellFormed(const LoadedText& book) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < book.runs.size(); ++i) {
        EXPECT_EQ(book.runs[i].start, next);
        EXPECT_GT(book.runs[i].length, 0u);
        if (i > 0) {
            EXPECT_NE(book.runs[i].format, book.runs[i - 1].format);
        }
        next += book.runs[i].length;
    }
    if (!book.runs.empty() || !book.text.empty()) {
        EXPECT_EQ(next, book.text.size());
    }
    for (std::size_t i = 0; i < book.text.size(); ++i) {
        const char32_t c = book.text[i];
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < book.text.size() && book.text[i + 1] == '\n');
        }
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && book.text[i - 1] == '\r');
        }
        ASSERT_TRUE(c >= 0x20 || c == '\t' || c == '\r' || c == '\n') << i;
    }
}

// The format of the first occurrence of a piece of text.
inline CharFormat FormatAt(const LoadedText& book, std::string_view utf8) {
    const std::size_t at = book.text.find(U32(utf8));
    EXPECT_NE(at, std::u32string::npos) << utf8;
    for (const TextRun& run : book.runs) {
        if (at >= run.start && at < run.start + run.length) return run.format;
    }
    ADD_FAILURE() << "no run at " << utf8;
    return {};
}

}  // namespace booktest
