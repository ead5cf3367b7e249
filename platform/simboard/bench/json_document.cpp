#include "json_document.h"

#include <iterator>
#include <vector>

namespace simboard {
namespace {

using nlohmann::json;

// Removes the last member of each container once it has none of its own, so that nothing
// destroyed here has members.
void takeApart(json &value) noexcept {
    while (value.is_structured() && !value.empty()) {
        const auto last = std::prev(value.end());
        takeApart(*last);
        value.erase(last);
    }
}

// Builds the document's value from the reader's events, as nlohmann's own reading does,
// but into a value the document owns, so that a failed reading leaves it to the document.
class ValueBuilder {
  public:
    explicit ValueBuilder(json &root) : root_(root) {}

    bool null() { return put(nullptr); }
    bool boolean(bool value) { return put(value); }
    bool number_integer(json::number_integer_t value) { return put(value); }
    bool number_unsigned(json::number_unsigned_t value) { return put(value); }
    bool number_float(json::number_float_t value, const json::string_t &) { return put(value); }
    bool string(json::string_t &value) { return put(std::move(value)); }
    bool binary(json::binary_t &value) { return put(std::move(value)); }
    bool start_object(std::size_t) { return open(json::object()); }
    bool key(json::string_t &name) {
        member_ = &(*open_.back())[name];
        takeApart(*member_); // the value of a repeated key, which the new one replaces
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(json::array()); }
    bool end_array() { return close(); }
    template <class Exception>
    bool parse_error(std::size_t, const std::string &, const Exception &error) {
        throw error;
    }

  private:
    bool put(json value) {
        place(std::move(value));
        return true;
    }
    // Only the innermost open container takes values, so the open ones above it never move.
    json *place(json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        json &container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return &container.back();
        }
        *member_ = std::move(value);
        return member_;
    }
    bool open(json container) {
        if (open_.size() == JsonDocument::maxDepth) {
            throw JsonTooDeep{};
        }
        open_.push_back(place(std::move(container)));
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }

    json &root_;
    std::vector<json *> open_;
    json *member_ = nullptr;
};

} // namespace

JsonDocument::JsonDocument(std::string_view text) {
    try {
        ValueBuilder builder(root_);
        json::sax_parse(text, &builder);
    } catch (...) {
        takeApart(root_);
        throw;
    }
}

JsonDocument::~JsonDocument() {
    takeApart(root_);
}

} // namespace simboard
