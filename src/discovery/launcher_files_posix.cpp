// The YAML and JSON readers, on Debian's libyaml and nlohmann-json. Both are
// read as event streams, never as trees: a broken file nested a million
// levels deep must not exhaust the stack.
#include <yaml.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "discovery/launcher_files.h"

namespace discovery {
namespace {

// libyaml's scanner takes time in proportion to the nesting depth for every
// token, so deep nesting, which no launcher writes, ends the read.
constexpr size_t kMaxYamlDepth = 100;

// One open mapping or sequence of the YAML event stream.
struct YamlLevel {
  bool Mapping = false;
  bool ExpectKey = true;  // a mapping's next node is a key
  bool OnPath = false;    // this node is the value at keyPath[0 .. Depth)
  size_t Depth = 0;
  bool KeyMatches = false;  // the key just read is keyPath[Depth]
};

class YamlEvents {
 public:
  explicit YamlEvents(std::string_view text) {
    ok_ = yaml_parser_initialize(&parser_) != 0;
    if (ok_) {
      yaml_parser_set_input_string(&parser_, reinterpret_cast<const unsigned char*>(text.data()),
                                   text.size());
    }
  }
  ~YamlEvents() {
    if (ok_) yaml_parser_delete(&parser_);
  }
  YamlEvents(const YamlEvents&) = delete;
  YamlEvents& operator=(const YamlEvents&) = delete;

  // The next event, false at a syntax error; the caller deletes it.
  bool Next(yaml_event_t& event) { return ok_ && yaml_parser_parse(&parser_, &event) != 0; }

 private:
  yaml_parser_t parser_;
  bool ok_ = false;
};

std::string_view ScalarText(const yaml_event_t& event) {
  return {reinterpret_cast<const char*>(event.data.scalar.value), event.data.scalar.length};
}

bool IsNull(const yaml_event_t& event) {
  if (event.data.scalar.style != YAML_PLAIN_SCALAR_STYLE) return false;
  const std::string_view text = ScalarText(event);
  return text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL";
}

// Where a node that starts now stands among its parent's. Returns whether
// it is the value at keys[0 .. depth); isKey tells a mapping's key.
bool PlaceNode(std::vector<YamlLevel>& levels, size_t& depth, bool& isKey) {
  depth = 0;
  isKey = false;
  if (levels.empty()) return true;
  YamlLevel& parent = levels.back();
  if (!parent.Mapping) return false;
  if (parent.ExpectKey) {
    parent.ExpectKey = false;
    parent.KeyMatches = false;
    isKey = true;
    return false;
  }
  parent.ExpectKey = true;
  depth = parent.Depth + 1;
  return parent.OnPath && parent.KeyMatches;
}

// Heroic's files name prefixes in members; the SAX interface reads them
// without building the document.
class MemberStrings : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit MemberStrings(std::string_view key) : key_(key) {}

  bool null() override { return Value(); }
  bool boolean(bool) override { return Value(); }
  bool number_integer(number_integer_t) override { return Value(); }
  bool number_unsigned(number_unsigned_t) override { return Value(); }
  bool number_float(number_float_t, const string_t&) override { return Value(); }
  bool string(string_t& value) override {
    if (wanted_) Found.push_back(std::move(value));
    return Value();
  }
  bool binary(binary_t&) override { return Value(); }
  bool start_object(std::size_t) override { return Value(); }
  bool key(string_t& name) override {
    wanted_ = name == key_;
    return true;
  }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return Value(); }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

  std::vector<std::string> Found;

 private:
  // Any value ends the member whose key came last.
  bool Value() {
    wanted_ = false;
    return true;
  }
  std::string_view key_;
  bool wanted_ = false;
};

}  // namespace

std::string YamlScalar(std::string_view yamlText, std::initializer_list<std::string_view> keyPath) {
  const std::vector<std::string_view> keys(keyPath);
  YamlEvents events(yamlText);
  std::vector<YamlLevel> levels;
  std::optional<std::string> found;
  yaml_event_t event;
  // The whole document is read: a file broken after the value is still skipped.
  while (events.Next(event)) {
    const yaml_event_type_t type = event.type;
    size_t depth = 0;
    bool isKey = false;
    if (type == YAML_SCALAR_EVENT || type == YAML_ALIAS_EVENT) {
      const bool onPath = PlaceNode(levels, depth, isKey);
      const bool scalar = type == YAML_SCALAR_EVENT;
      const std::string_view text = scalar ? ScalarText(event) : std::string_view();
      if (isKey && levels.back().OnPath && levels.back().Depth < keys.size()) {
        levels.back().KeyMatches = scalar && text == keys[levels.back().Depth];
      } else if (onPath && depth == keys.size() && scalar && !found) {
        found = IsNull(event) ? std::string() : std::string(text);
      }
    } else if (type == YAML_MAPPING_START_EVENT || type == YAML_SEQUENCE_START_EVENT) {
      const bool onPath = PlaceNode(levels, depth, isKey);
      levels.push_back({type == YAML_MAPPING_START_EVENT, true, onPath && depth < keys.size(), depth, false});
      if (levels.size() > kMaxYamlDepth) {
        yaml_event_delete(&event);
        return std::string();
      }
    } else if (type == YAML_MAPPING_END_EVENT || type == YAML_SEQUENCE_END_EVENT) {
      if (!levels.empty()) levels.pop_back();
    }
    yaml_event_delete(&event);
    if (type == YAML_DOCUMENT_END_EVENT || type == YAML_STREAM_END_EVENT) {
      return found.value_or(std::string());
    }
  }
  return std::string();
}

std::vector<std::string> JsonStrings(std::string_view jsonText, std::string_view key) {
  MemberStrings members(key);
  try {
    if (!nlohmann::json::sax_parse(jsonText.begin(), jsonText.end(), &members)) return {};
  } catch (const std::exception&) {
    return {};
  }
  return std::move(members.Found);
}

}  // namespace discovery
