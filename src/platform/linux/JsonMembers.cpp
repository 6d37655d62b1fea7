#include "platform/linux/JsonMembers.h"

#include <algorithm>
#include <cctype>

namespace corvane::linux_desktop {
namespace {

// Walks JSON text, each step consuming one piece of the grammar or failing.
class JsonScanner {
  public:
    explicit JsonScanner(std::string_view text) : text_(text) {}

    std::size_t position() const { return pos_; }
    bool atEnd() {
        skipBlanks();
        return pos_ == text_.size();
    }
    bool take(char c) {
        skipBlanks();
        if (pos_ == text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool peek(char c) {
        skipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    bool string() {
        if (!take('"')) return false;
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\' && !escape()) return false;
        }
        return false;
    }

    // One value; `depth` is how deeply arrays and objects nest inside it.
    bool value(std::size_t& depth) {
        std::vector<char> open;  // the closing bracket of each container entered
        depth = 0;
        for (;;) {
            if (peek('{') || peek('[')) {
                const char closing = text_[pos_++] == '{' ? '}' : ']';
                open.push_back(closing);
                depth = std::max(depth, open.size());
                if (take(closing)) {
                    open.pop_back();
                } else {
                    if (closing == '}' && !memberKey()) return false;
                    continue;
                }
            } else if (!scalar()) {
                return false;
            }
            // After a value: close containers until one continues with a comma.
            for (;;) {
                if (open.empty()) return true;
                if (take(open.back())) {
                    open.pop_back();
                    continue;
                }
                if (!take(',')) return false;
                if (open.back() == '}' && !memberKey()) return false;
                break;
            }
        }
    }

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

  private:
    bool memberKey() { return string() && take(':'); }

    bool escape() {
        if (pos_ == text_.size()) return false;
        const char c = text_[pos_++];
        if (std::string_view("\"\\/bfnrt").find(c) != std::string_view::npos) return true;
        if (c != 'u' || text_.size() - pos_ < 4) return false;
        for (int i = 0; i < 4; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(text_[pos_++]))) return false;
        return true;
    }

    bool scalar() {
        skipBlanks();
        if (peek('"')) return string();
        for (std::string_view word : {"true", "false", "null"})
            if (text_.substr(pos_).starts_with(word)) {
                pos_ += word.size();
                return true;
            }
        return number();
    }

    bool digits() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        return pos_ > start;
    }
    bool next(char c) {
        if (pos_ == text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool number() {
        next('-');
        if (!next('0') && !digits()) return false;
        if (next('.') && !digits()) return false;
        if (next('e') || next('E')) {
            if (!next('+')) next('-');
            if (!digits()) return false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<std::vector<JsonMemberText>> splitJsonObject(std::string_view text) {
    JsonScanner scanner(text);
    std::vector<JsonMemberText> members;
    if (!scanner.take('{')) return std::nullopt;
    if (!scanner.take('}')) {
        do {
            JsonMemberText member;
            scanner.skipBlanks();
            std::size_t start = scanner.position();
            if (!scanner.string()) return std::nullopt;
            member.keyText = text.substr(start, scanner.position() - start);
            if (!scanner.take(':')) return std::nullopt;
            scanner.skipBlanks();
            start = scanner.position();
            if (!scanner.value(member.depth)) return std::nullopt;
            member.valueText = text.substr(start, scanner.position() - start);
            members.push_back(std::move(member));
        } while (scanner.take(','));
        if (!scanner.take('}')) return std::nullopt;
    }
    if (!scanner.atEnd()) return std::nullopt;
    return members;
}

}  // namespace corvane::linux_desktop
