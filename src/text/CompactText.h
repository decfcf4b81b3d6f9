#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A look at a document's characters, wherever they are held: as four bytes a
// character, or as one byte a character that picks one of an alphabet of at
// most 256. Every rule that reads the document reads through it; it reads
// like a std::u32string_view, and positions count characters either way.
class TextView {
public:
    static constexpr std::size_t npos = std::u32string_view::npos;

    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = char32_t;
        using difference_type = std::ptrdiff_t;
        using reference = char32_t;
        using pointer = void;

        Iterator() = default;
        char32_t operator*() const {
            return narrow_ != nullptr ? alphabet_[narrow_[at_]] : wide_[at_];
        }
        char32_t operator[](difference_type n) const { return *(*this + n); }
        Iterator& operator++() { return ++at_, *this; }
        Iterator operator++(int) {
            Iterator before = *this;
            ++at_;
            return before;
        }
        Iterator& operator--() { return --at_, *this; }
        Iterator operator--(int) {
            Iterator before = *this;
            --at_;
            return before;
        }
        Iterator& operator+=(difference_type n) { return at_ += n, *this; }
        Iterator& operator-=(difference_type n) { return at_ -= n, *this; }
        friend Iterator operator+(Iterator i, difference_type n) { return i += n; }
        friend Iterator operator+(difference_type n, Iterator i) { return i += n; }
        friend Iterator operator-(Iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(Iterator a, Iterator b) {
            return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
        }
        friend bool operator==(Iterator a, Iterator b) { return a.at_ == b.at_; }
        friend auto operator<=>(Iterator a, Iterator b) { return a.at_ <=> b.at_; }

    private:
        friend class TextView;
        // The view's own pointers, not the view: an iterator may outlive a
        // view made for the moment.
        const std::uint8_t* narrow_ = nullptr;
        const char32_t* alphabet_ = nullptr;
        const char32_t* wide_ = nullptr;
        std::size_t at_ = 0;
    };

    TextView() = default;
    TextView(std::u32string_view wide) : wide_(wide.data()), size_(wide.size()) {}
    TextView(const std::u32string& wide) : TextView(std::u32string_view(wide)) {}
    TextView(const char32_t* wide) : TextView(std::u32string_view(wide)) {}
    TextView(const std::uint8_t* narrow, const char32_t* alphabet, std::size_t size)
        : narrow_(narrow), alphabet_(alphabet), size_(size) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char32_t operator[](std::size_t i) const {
        return narrow_ != nullptr ? alphabet_[narrow_[i]] : wide_[i];
    }
    char32_t front() const { return (*this)[0]; }
    char32_t back() const { return (*this)[size_ - 1]; }
    Iterator begin() const { return At(0); }
    Iterator end() const { return At(size_); }

    // As std::u32string_view's, except that a start past the end gives an
    // empty view instead of throwing.
    TextView substr(std::size_t start, std::size_t count = npos) const;
    std::u32string ToString() const;

    // As std::u32string_view's; npos when not found.
    std::size_t find(char32_t c, std::size_t from = 0) const;
    std::size_t find(TextView what, std::size_t from = 0) const;
    std::size_t find_first_of(std::u32string_view any, std::size_t from = 0) const;
    std::size_t find_last_of(std::u32string_view any, std::size_t before = npos) const;

    // Where the characters are: the bytes and their alphabet, or the four-byte
    // characters; the other is null. Loops over a whole book read them
    // directly.
    const std::uint8_t* Narrow() const { return narrow_; }
    const char32_t* Alphabet() const { return alphabet_; }
    const char32_t* Wide() const { return wide_; }

    friend bool operator==(TextView a, TextView b);

private:
    Iterator At(std::size_t at) const {
        Iterator i;
        i.narrow_ = narrow_, i.alphabet_ = alphabet_, i.wide_ = wide_, i.at_ = at;
        return i;
    }

    const std::uint8_t* narrow_ = nullptr;
    const char32_t* alphabet_ = nullptr;
    const char32_t* wide_ = nullptr;
    std::size_t size_ = 0;
};

// Looks for one character again and again in one text: the byte that stands
// for it is worked out once, and the search is the C library's memchr over
// the bytes, several times faster than a loop over the characters.
class CharacterSearch {
public:
    CharacterSearch(TextView text, char32_t c);
    // Where the character is first at or after `from`, or TextView::npos.
    std::size_t From(std::size_t from) const;

private:
    static constexpr int kNone = -1;
    static constexpr int kSeveral = -2;  // a code page may read two bytes alike

    TextView text_;
    char32_t character_;
    int byte_ = kNone;
};

// A document's characters in as little memory as they allow. Nearly every
// book uses fewer than 256 different characters (an alphabet or two, their
// capitals, digits and marks): those take one byte a character, the others
// four. A 10 MB book thus costs 10 MB, not 40. A view of it holds until the
// text is changed or moved.
class CompactText {
public:
    CompactText();
    // Implicit: wherever a text is made as characters, it is kept compact.
    CompactText(std::u32string_view text);
    CompactText(const std::u32string& text);
    CompactText(const char32_t* text);
    // Bytes of a single-byte code page, kept as they are and read through the
    // code page's table.
    CompactText(std::string bytes, const std::array<char32_t, 256>& table);

    CompactText(const CompactText& other);
    CompactText& operator=(const CompactText& other);
    CompactText(CompactText&&) noexcept;
    CompactText& operator=(CompactText&&) noexcept;
    ~CompactText();

    // Adds characters at the end, giving up the one-byte form when they
    // bring the 257th different character.
    void Append(std::u32string_view piece);
    // One character, as Append: a reader that makes the text a character at
    // a time adds most with one look-up.
    void push_back(char32_t c) {
        if (narrow_ && lookup_ && c < 0x10000 && lookup_->basic[c] != 0) {
            bytes_.push_back(static_cast<char>(lookup_->basic[c] - 1));
        } else {
            Append({&c, 1});
        }
    }
    // Room for that many characters, in the one-byte form.
    void Reserve(std::size_t length);

    TextView View() const;
    operator TextView() const { return View(); }
    std::size_t size() const { return narrow_ ? bytes_.size() : wide_.size(); }
    bool empty() const { return size() == 0; }
    char32_t operator[](std::size_t i) const {
        return narrow_ ? alphabet_[static_cast<std::uint8_t>(bytes_[i])] : wide_[i];
    }
    // Keeps the first `length` characters (a shorter text only: nothing is
    // added).
    void Truncate(std::size_t length);
    std::u32string ToString() const { return View().ToString(); }
    // Against another compact text only (a string or a literal is made one):
    // with a TextView too, each comparison would have two ways to convert.
    friend bool operator==(const CompactText& a, const CompactText& b) {
        return a.View() == b.View();
    }

private:
    // Which byte stands for a character: a table over the Basic Multilingual
    // Plane (one look-up a character, as decoding adds millions of them) and a
    // short list for the rest.
    struct Lookup {
        std::vector<std::uint16_t> basic =
            std::vector<std::uint16_t>(0x10000);  // byte + 1, 0: none
        std::vector<std::pair<char32_t, std::uint8_t>> astral;

        int Find(char32_t c) const {
            if (c < basic.size()) return basic[c] - 1;
            for (const auto& [character, byte] : astral) {
                if (character == c) return byte;
            }
            return -1;
        }
        void Add(char32_t c, std::uint8_t byte) {
            if (c < basic.size()) {
                if (basic[c] == 0) basic[c] = static_cast<std::uint16_t>(byte + 1);
            } else if (Find(c) < 0) {
                astral.emplace_back(c, byte);
            }
        }
    };
    void Widen();

    bool narrow_ = true;
    std::string bytes_;
    std::array<char32_t, 256> alphabet_{};
    std::size_t alphabetSize_ = 0;
    std::u32string wide_;
    // Once characters have been added: where each of the alphabet's
    // characters is (128 KB), kept for any added later.
    std::unique_ptr<Lookup> lookup_;
};
