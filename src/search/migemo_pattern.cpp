#include "search/migemo_pattern.h"

namespace qbr::search {

namespace {

// A recursive-descent reader of the pattern; each rule returns the words it stands for.
class Expander {
  public:
    Expander(std::string_view pattern, std::size_t limit) : p_(pattern), limit_(limit) {}

    std::optional<std::vector<std::string>> all() {
        std::vector<std::string> words = alternatives();
        if (failed_ || at_ != p_.size())
            return std::nullopt;
        return words;
    }

  private:
    // alternatives := sequence ("|" sequence)*
    std::vector<std::string> alternatives() {
        std::vector<std::string> words = sequence();
        while (!failed_ && at_ < p_.size() && p_[at_] == '|') {
            ++at_;
            for (std::string& word : sequence())
                words.push_back(std::move(word));
            check(words.size());
        }
        return words;
    }

    // sequence := (group | class | escaped | letter)*, the product of its parts
    std::vector<std::string> sequence() {
        std::vector<std::string> words{std::string()};
        while (!failed_ && at_ < p_.size() && p_[at_] != '|' && p_[at_] != ')') {
            std::vector<std::string> part;
            const char c = p_[at_];
            if (c == '(') {
                ++at_;
                part = alternatives();
                if (at_ >= p_.size() || p_[at_] != ')')
                    return fail();
                ++at_;
            } else if (c == '[') {
                ++at_;
                while (at_ < p_.size() && p_[at_] != ']')
                    part.push_back(letter());
                if (at_ >= p_.size() || part.empty())
                    return fail();
                ++at_;
            } else if (c == ']' || c == '*' || c == '+' || c == '?' || c == '{' || c == '^' ||
                       c == '$') {
                return fail(); // a construct Migemo does not write for readings
            } else {
                part.push_back(letter());
            }
            check(words.size() * part.size());
            if (failed_)
                return {};
            std::vector<std::string> product;
            product.reserve(words.size() * part.size());
            for (const std::string& head : words)
                for (const std::string& tail : part)
                    product.push_back(head + tail);
            words = std::move(product);
        }
        return words;
    }

    // One letter: "\" and the byte after it, or one UTF-8 character.
    std::string letter() {
        if (p_[at_] == '\\' && at_ + 1 < p_.size()) {
            at_ += 2;
            return std::string(1, p_[at_ - 1]);
        }
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(p_[at_]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = std::min(length, p_.size() - at_);
        std::string one(p_.substr(at_, length));
        at_ += length;
        return one;
    }

    void check(std::size_t count) {
        if (count > limit_)
            failed_ = true;
    }
    std::vector<std::string> fail() {
        failed_ = true;
        return {};
    }

    std::string_view p_;
    std::size_t limit_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

} // namespace

std::optional<std::vector<std::string>> expandMigemoPattern(std::string_view pattern,
                                                            std::size_t limit) {
    return Expander(pattern, limit).all();
}

} // namespace qbr::search
