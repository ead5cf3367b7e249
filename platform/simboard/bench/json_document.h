// A JSON text read into nlohmann's values, made safe for memory running out.  Such a value
// allocates when it is destroyed with members (it takes them apart without recursion), so
// one destroyed while memory runs out would end the program; the document takes its value
// apart leaf first instead, which allocates nothing, whether reading succeeded or failed.
// That takes recursion, so the document limits how deep a text may nest.
#ifndef PLATFORM_SIMBOARD_BENCH_JSON_DOCUMENT_H
#define PLATFORM_SIMBOARD_BENCH_JSON_DOCUMENT_H

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string_view>

namespace simboard {

// Thrown for a text that nests deeper than a document takes.
struct JsonTooDeep {};

class JsonDocument {
  public:
    static constexpr std::size_t maxDepth = 32;

    // The text must hold one JSON value and nothing after it but white space.  Throws
    // nlohmann::json::exception for a text that does not, JsonTooDeep, and std::bad_alloc.
    explicit JsonDocument(std::string_view text);
    JsonDocument(const JsonDocument &) = delete;
    JsonDocument &operator=(const JsonDocument &) = delete;
    ~JsonDocument();

    const nlohmann::json &root() const { return root_; }

  private:
    nlohmann::json root_;
};

} // namespace simboard

#endif
