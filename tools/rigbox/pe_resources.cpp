#include "pe_resources.h"

#include <algorithm>
#include <array>
#include <set>
#include <span>
#include <string_view>
#include <tuple>

#include "cli.h"
#include "package/rigbox_format.h"

namespace rigbox_tool {
namespace {

using Bytes = std::vector<uint8_t>;
using modRIGBOX::ByteReader;

/*
  The PE fields read and changed (offsets in bytes):
  DOS header      "MZ", 0x3C e_lfanew: file offset of "PE\0\0"
  COFF header     after the signature: +2 NumberOfSections, +16 SizeOfOptionalHeader
  optional header +0 Magic (0x10B PE32, 0x20B PE32+), +8 SizeOfInitializedData,
                  +32 SectionAlignment, +36 FileAlignment, +56 SizeOfImage, +64 CheckSum,
                  +92 / +108 NumberOfRvaAndSizes, then the data directories (RVA, size)
  section header  40 bytes: +8 VirtualSize, +12 VirtualAddress, +16 SizeOfRawData,
                  +20 PointerToRawData, +36 Characteristics
*/
constexpr size_t kCoffSize = 20;
constexpr size_t kInitializedDataOffset = 8;
constexpr size_t kSectionAlignmentOffset = 32;
constexpr size_t kFileAlignmentOffset = 36;
constexpr size_t kSizeOfImageOffset = 56;
constexpr size_t kCheckSumOffset = 64;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint32_t kInitializedData = 0x40;
constexpr size_t kSecurityDirectory = 4, kResourceDirectory = 2, kRelocationDirectory = 5;
constexpr uint32_t kIconType = 3, kGroupIconType = 14, kVersionType = 16, kIconGroup = 1;
constexpr size_t kMaxTextUnits = 4096;  // far below the 32767 of a string value: the resource takes 64 KiB
constexpr size_t kMaxResources = 65536;

uint16_t U16(ByteReader& reader, size_t offset) { return static_cast<uint16_t>(reader.I16(offset)); }
size_t AlignUp(size_t value, size_t alignment) { return (value + alignment - 1) / alignment * alignment; }
void Put16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
void Put32(Bytes& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void Set32(Bytes& out, size_t offset, uint64_t value) {
  for (size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}
void PutText(Bytes& out, const std::u16string& text) {
  for (char16_t unit : text) Put16(out, unit);
}

struct Section {
  size_t Header = 0;
  uint32_t VirtualSize = 0, VirtualAddress = 0, RawSize = 0, RawPointer = 0, Characteristics = 0;
};

struct PeLayout {
  size_t Optional = 0;
  size_t Directories = 0;
  uint32_t DirectoryCount = 0;
  uint32_t DirectoryRva[16] = {}, DirectorySize[16] = {};
  uint32_t FileAlignment = 0, SectionAlignment = 0;
  std::vector<Section> Sections;
  size_t Resources = 0;  // index of the resource section
};

Error Unsafe(const InputFile& stub, const std::string& why) {
  return Error("Cannot rebuild the resources of " + Quoted(stub.Path) + ": " + why);
}

Result<PeLayout> ReadHeaders(const InputFile& stub) {
  const Bytes& bytes = stub.Bytes;
  ByteReader reader(bytes);
  PeLayout pe;
  size_t signature = reader.U32(0x3C);
  pe.Optional = signature + 4 + kCoffSize;
  uint16_t magic = U16(reader, pe.Optional);
  bool pe32 = magic == 0x10B;
  if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z' || reader.U32(signature) != 0x4550 ||
      (!pe32 && magic != 0x20B) || !reader.Ok()) {
    return Error(Quoted(stub.Path) + " is not a PE program");
  }
  pe.Directories = pe.Optional + (pe32 ? 96 : 112);
  pe.DirectoryCount = std::min(reader.U32(pe.Directories - 4), 16u);
  for (size_t i = 0; i < pe.DirectoryCount; ++i) {
    pe.DirectoryRva[i] = reader.U32(pe.Directories + 8 * i);
    pe.DirectorySize[i] = reader.U32(pe.Directories + 8 * i + 4);
  }
  pe.FileAlignment = reader.U32(pe.Optional + kFileAlignmentOffset);
  pe.SectionAlignment = reader.U32(pe.Optional + kSectionAlignmentOffset);
  size_t table = pe.Optional + U16(reader, signature + 4 + 16);
  for (size_t i = 0; i < U16(reader, signature + 6); ++i) {
    size_t at = table + i * kSectionHeaderSize;
    Section s{at, reader.U32(at + 8), reader.U32(at + 12), reader.U32(at + 16), reader.U32(at + 20)};
    if (s.VirtualSize == 0) s.VirtualSize = s.RawSize;  // as the loader takes it
    s.Characteristics = reader.U32(at + 36);
    pe.Sections.push_back(s);
  }
  if (!reader.Ok() || pe.FileAlignment == 0 || pe.SectionAlignment == 0) {
    return Error(Quoted(stub.Path) + " is not a PE program: its headers are cut short");
  }
  uint32_t resources = pe.DirectoryRva[kResourceDirectory];
  auto found = std::find_if(pe.Sections.begin(), pe.Sections.end(),
                            [&](const Section& s) { return s.VirtualAddress == resources; });
  if (resources == 0 || found == pe.Sections.end())
    return Error(Quoted(stub.Path) + " has no resource section");
  pe.Resources = static_cast<size_t>(found - pe.Sections.begin());
  return pe;
}

// Only the resource section and the sections after it move: nothing but a
// data directory may point into those, and nothing may follow them.
Status CheckMovable(const InputFile& stub, const PeLayout& pe) {
  if (pe.DirectoryRva[kSecurityDirectory] != 0) {
    return Unsafe(stub, "it is signed; give the program as it was before signing");
  }
  const Section& resources = pe.Sections[pe.Resources];
  uint64_t resourcesEnd = resources.VirtualAddress + AlignUp(resources.VirtualSize, pe.SectionAlignment);
  for (size_t index = 0; index < pe.DirectoryCount; ++index) {
    uint32_t rva = pe.DirectoryRva[index];
    bool moves =
        rva >= resources.VirtualAddress && index != kSecurityDirectory && index != kResourceDirectory;
    if (moves && (index != kRelocationDirectory || rva < resourcesEnd)) {
      return Unsafe(stub, "data directory " + std::to_string(index) + " points into or after the resources");
    }
  }
  uint64_t end = 0;
  for (size_t i = 0; i < pe.Sections.size(); ++i) {
    const Section& s = pe.Sections[i];
    bool ordered = i == 0 || s.VirtualAddress > pe.Sections[i - 1].VirtualAddress;
    // The sections after the resources follow them in the file without a gap.
    bool placed = s.RawSize == 0 || (i > pe.Resources ? s.RawPointer == end : s.RawPointer >= end);
    if (!ordered || !placed) return Unsafe(stub, "its sections are not in order");
    if (s.RawSize != 0) end = uint64_t{s.RawPointer} + s.RawSize;
  }
  if (end > stub.Bytes.size())
    return Error(Quoted(stub.Path) + " is not a PE program: its sections are cut short");
  if (end < stub.Bytes.size()) return Unsafe(stub, "it holds data after its last section");
  return Done{};
}

// Fixups inside the moving sections would have to move with them.
Status CheckRelocations(const InputFile& stub, const PeLayout& pe) {
  ByteReader reader(stub.Bytes);
  uint64_t first = pe.DirectoryRva[kRelocationDirectory];
  for (uint64_t at = first; at + 8 <= first + pe.DirectorySize[kRelocationDirectory];) {
    size_t offset = stub.Bytes.size();
    for (const Section& s : pe.Sections) {
      if (at >= s.VirtualAddress && at - s.VirtualAddress < s.RawSize) {
        offset = static_cast<size_t>(s.RawPointer + (at - s.VirtualAddress));
      }
    }
    uint32_t page = reader.U32(offset), blockSize = reader.U32(offset + 4);
    if (!reader.Ok() || blockSize < 8 || page >= pe.Sections[pe.Resources].VirtualAddress) {
      return Unsafe(stub, "its relocations reach into the resources");
    }
    at += blockSize;
  }
  return Done{};
}

// One level of a resource's place in the tree: a name or a number.
struct ResourceKey {
  bool Named = false;
  std::u16string Name;
  uint32_t Id = 0;
  // Named entries first, by their UTF-16 units, then numbers, as Windows searches them.
  bool operator<(const ResourceKey& other) const {
    return std::tie(other.Named, Name, Id) < std::tie(Named, other.Name, other.Id);
  }
  bool operator==(const ResourceKey& other) const {
    return Named == other.Named && Name == other.Name && Id == other.Id;
  }
};

struct Resource {
  std::array<ResourceKey, 3> Keys;  // type, name, language
  Bytes Data;
  uint32_t CodePage = 0;
  bool operator<(const Resource& other) const { return Keys < other.Keys; }
};

/*
  Resource directory (offsets from the section's start): a 16-byte table,
  +12 NumberOfNamedEntries, +14 NumberOfIdEntries, then 8-byte entries:
  Name (high bit: offset of a UTF-16 length + text, else the number),
  OffsetToData (high bit: offset of the next level's table, else of a
  16-byte data entry: RVA, Size, CodePage, Reserved).
*/
bool ReadDirectory(ByteReader& reader, uint32_t sectionRva, size_t sectionSize, size_t offset, Resource path,
                   size_t level, std::vector<Resource>& out) {
  size_t count = size_t{U16(reader, offset + 12)} + U16(reader, offset + 14);
  for (size_t i = 0; i < count && reader.Ok(); ++i) {
    size_t entry = offset + 16 + 8 * i;
    uint32_t name = reader.U32(entry), target = reader.U32(entry + 4);
    ResourceKey& key = path.Keys[level];
    key = {(name & 0x80000000) != 0, u"", name};
    if (key.Named) {
      size_t at = name & 0x7FFFFFFF;
      for (size_t c = 0; c < U16(reader, at) && reader.Ok(); ++c)
        key.Name += static_cast<char16_t>(U16(reader, at + 2 + 2 * c));
      key.Id = 0;
    }
    bool table = (target & 0x80000000) != 0;
    if (table != (level < 2) || out.size() >= kMaxResources) return false;
    if (table) {
      if (!ReadDirectory(reader, sectionRva, sectionSize, target & 0x7FFFFFFF, path, level + 1, out))
        return false;
      continue;
    }
    size_t start = reader.U32(target) - size_t{sectionRva}, size = reader.U32(target + 4);
    if (reader.U32(target) < sectionRva || start > sectionSize || size > sectionSize - start) return false;
    path.CodePage = reader.U32(target + 8);
    path.Data.resize(size);
    reader.Chars(start, {reinterpret_cast<char*>(path.Data.data()), size});
    out.push_back(path);
  }
  return reader.Ok();
}

Result<std::vector<Resource>> ReadResources(const InputFile& stub, const PeLayout& pe) {
  const Section& s = pe.Sections[pe.Resources];
  std::span<const uint8_t> section(stub.Bytes.data() + s.RawPointer, std::min(s.RawSize, s.VirtualSize));
  ByteReader reader(section);
  std::vector<Resource> resources;
  bool read = ReadDirectory(reader, s.VirtualAddress, section.size(), 0, {}, 0, resources);
  std::sort(resources.begin(), resources.end());
  auto same = [](const Resource& a, const Resource& b) { return !(a < b) && !(b < a); };
  if (!read || std::adjacent_find(resources.begin(), resources.end(), same) != resources.end()) {
    return Unsafe(stub, "its resource directory is malformed");
  }
  return resources;
}

// The whole tree, as Windows lays it out: the directory tables level by
// level, the data entries, the names, then the data, each 4-byte aligned.
Bytes WriteTree(const std::vector<Resource>& resources, uint32_t rva) {
  struct Table {
    size_t Begin, End, Level, Offset = 0, FirstChild = 0;
  };
  auto children = [&](const Table& t) {
    std::vector<size_t> starts;  // the first resource of each child
    for (size_t i = t.Begin; i < t.End; ++i) {
      if (i == t.Begin || !(resources[i].Keys[t.Level] == resources[i - 1].Keys[t.Level]))
        starts.push_back(i);
    }
    return starts;
  };
  std::vector<Table> tables{{0, resources.size(), 0}};
  size_t tablesEnd = 0;
  for (size_t i = 0; i < tables.size(); ++i) {
    std::vector<size_t> starts = children(tables[i]);
    tables[i].Offset = tablesEnd;
    tables[i].FirstChild = tables.size();
    tablesEnd += 16 + 8 * starts.size();
    for (size_t c = 0; c < starts.size() && tables[i].Level < 2; ++c) {
      size_t end = c + 1 < starts.size() ? starts[c + 1] : tables[i].End;
      tables.push_back({starts[c], end, tables[i].Level + 1});
    }
  }
  size_t namesStart = tablesEnd + 16 * resources.size();
  Bytes out, names;
  for (const Table& t : tables) {
    std::vector<size_t> starts = children(t);
    auto named = std::count_if(starts.begin(), starts.end(),
                               [&](size_t i) { return resources[i].Keys[t.Level].Named; });
    out.resize(out.size() + 12);
    Put16(out, static_cast<uint32_t>(named));
    Put16(out, static_cast<uint32_t>(starts.size() - static_cast<size_t>(named)));
    for (size_t c = 0; c < starts.size(); ++c) {
      const ResourceKey& key = resources[starts[c]].Keys[t.Level];
      Put32(out, key.Named ? static_cast<uint32_t>(0x80000000 | (namesStart + names.size())) : key.Id);
      if (key.Named) {
        Put16(names, static_cast<uint32_t>(key.Name.size()));
        PutText(names, key.Name);
      }
      size_t target = t.Level < 2 ? 0x80000000 | tables[t.FirstChild + c].Offset : tablesEnd + 16 * starts[c];
      Put32(out, static_cast<uint32_t>(target));
    }
  }
  size_t dataAt = AlignUp(namesStart + names.size(), 4);
  for (const Resource& resource : resources) {
    Put32(out, static_cast<uint32_t>(rva + dataAt));
    Put32(out, static_cast<uint32_t>(resource.Data.size()));
    Put32(out, resource.CodePage);
    Put32(out, 0);
    dataAt = AlignUp(dataAt + resource.Data.size(), 4);
  }
  out.insert(out.end(), names.begin(), names.end());
  for (const Resource& resource : resources) {
    out.resize(AlignUp(out.size(), 4));
    out.insert(out.end(), resource.Data.begin(), resource.Data.end());
  }
  return out;
}

/*
  A version resource node, 4-byte aligned from the resource's start:
  +0 wLength (the node with its children), +2 wValueLength (bytes, or
  UTF-16 units for text), +4 wType (1 text, 0 binary), +6 the key, UTF-16
  with a NUL, padding, the value, padding, the children.
*/
struct VersionNode {
  std::u16string Key;
  uint16_t ValueLength = 0, Type = 1;
  Bytes Value;
  std::vector<VersionNode> Children;
};

// Depth 0 is VS_VERSION_INFO; the strings (depth 3) and Var entries (depth
// 2 outside StringFileInfo) are leaves, whose value runs to their end.
std::optional<VersionNode> ReadNode(const Bytes& bytes, size_t offset, size_t size, int depth, bool strings) {
  ByteReader reader(bytes);
  VersionNode node;
  size_t end = offset + U16(reader, offset);
  node.ValueLength = U16(reader, offset + 2);
  node.Type = U16(reader, offset + 4);
  size_t at = offset + 6;
  for (; at < end && U16(reader, at) != 0; at += 2) node.Key += static_cast<char16_t>(U16(reader, at));
  at = AlignUp(at + 2, 4);
  bool leaf = depth == 3 || (depth == 2 && !strings);
  size_t valueEnd = leaf ? end : at + size_t{node.ValueLength} * (node.Type == 1 ? 2 : 1);
  if (end > size || end < offset + 6 || (at < valueEnd && valueEnd > end) || !reader.Ok())
    return std::nullopt;
  if (at < valueEnd)
    node.Value.assign(bytes.begin() + static_cast<ptrdiff_t>(at),
                      bytes.begin() + static_cast<ptrdiff_t>(valueEnd));
  at = std::max(at, valueEnd);
  bool childStrings = depth == 1 ? node.Key == u"StringFileInfo" : strings;
  for (at = AlignUp(at, 4); !leaf && at + 6 <= end; at = AlignUp(at + U16(reader, at), 4)) {
    auto child = ReadNode(bytes, at, end, depth + 1, childStrings);
    if (!child) return std::nullopt;
    node.Children.push_back(std::move(*child));
  }
  return node;
}

bool WriteNode(const VersionNode& node, Bytes& out) {
  size_t start = out.size();
  Put16(out, 0);
  Put16(out, node.ValueLength);
  Put16(out, node.Type);
  PutText(out, node.Key + u'\0');
  out.resize(AlignUp(out.size(), 4));
  out.insert(out.end(), node.Value.begin(), node.Value.end());
  for (const VersionNode& child : node.Children) {
    out.resize(AlignUp(out.size(), 4));
    if (!WriteNode(child, out)) return false;
  }
  size_t length = out.size() - start;
  out[start] = static_cast<uint8_t>(length & 0xFF);
  out[start + 1] = static_cast<uint8_t>(length >> 8);
  return length <= 0xFFFF;
}

VersionNode& ChildNamed(VersionNode& parent, const std::u16string& key) {
  for (VersionNode& child : parent.Children) {
    if (child.Key == key) return child;
  }
  parent.Children.insert(parent.Children.begin(), VersionNode{key, 0, 1, {}, {}});
  return parent.Children.front();
}

std::optional<std::u16string> Utf16Of(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) return std::nullopt;
    uint32_t code = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (size_t k = 1; k <= static_cast<size_t>(extra); ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = code << 6 | (next & 0x3Fu);
    }
    constexpr uint32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kShortest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return std::nullopt;
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      code = 0xDC00 + (code & 0x3FF);
    }
    out += static_cast<char16_t>(code);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

using VersionStrings = std::vector<std::pair<std::u16string, std::u16string>>;  // key, value

Result<VersionStrings> StringsOf(const StubDetails& details) {
  VersionStrings strings;
  const std::tuple<const char*, const std::string*, const char16_t*> fields[] = {
      {"name", &details.Name, u"FileDescription"},
      {"name", &details.Name, u"ProductName"},
      {"version", &details.Version, u"ProductVersion"},
      {"author", &details.Author, u"CompanyName"}};
  for (auto [what, text, key] : fields) {
    if (text->empty()) continue;
    auto value = Utf16Of(*text);
    if (!value) return Error(std::string("The ") + what + " is not UTF-8 text");
    if (value->size() > kMaxTextUnits) {
      return Error(std::string("The ") + what + " is too long for a version resource: " +
                   std::to_string(value->size()) + " UTF-16 units, at most " + std::to_string(kMaxTextUnits));
    }
    strings.emplace_back(key, *value);
  }
  return strings;
}

// The strings in every string table of every version resource.
Status SetVersionStrings(const InputFile& stub, std::vector<Resource>& resources,
                         const VersionStrings& strings) {
  bool found = false;
  for (Resource& resource : resources) {
    if (resource.Keys[0].Named || resource.Keys[0].Id != kVersionType) continue;
    found = true;
    auto root = ReadNode(resource.Data, 0, resource.Data.size(), 0, false);
    if (!root) return Unsafe(stub, "its version resource is malformed");
    VersionNode& tables = ChildNamed(*root, u"StringFileInfo");
    if (tables.Children.empty()) ChildNamed(tables, u"040904B0");
    for (VersionNode& table : tables.Children) {
      for (const auto& [key, value] : strings) {
        VersionNode& entry = ChildNamed(table, key);
        entry.Type = 1;
        entry.ValueLength = static_cast<uint16_t>(value.size() + 1);
        entry.Value.clear();
        PutText(entry.Value, value + u'\0');
      }
    }
    resource.Data.clear();
    if (!WriteNode(*root, resource.Data)) return Error("The texts are too long for a version resource");
  }
  if (!found) return Unsafe(stub, "it has no version resource");
  return Done{};
}

// An .ico's image: the 12 bytes its directory entry shares with a group
// entry, and its data.
struct IconImage {
  Bytes Entry, Data;
};

Error NotIcon(const InputFile& icon, const std::string& why) {
  return Error(Quoted(icon.Path) + " is not an icon file: " + why);
}

Result<std::vector<IconImage>> ReadIcon(const InputFile& icon) {
  const Bytes& bytes = icon.Bytes;
  ByteReader reader(bytes);
  size_t count = U16(reader, 4);
  if (U16(reader, 0) != 0 || U16(reader, 2) != 1 || !reader.Ok())
    return NotIcon(icon, "it lacks the icon header");
  if (count == 0) return NotIcon(icon, "it holds no image");
  if (6 + 16 * count > bytes.size()) return NotIcon(icon, "its directory is cut short");
  std::vector<IconImage> images;
  for (size_t i = 0; i < count; ++i) {
    size_t entry = 6 + 16 * i, offset = reader.U32(entry + 12), size = reader.U32(entry + 8);
    std::string image = "image " + std::to_string(i + 1);
    if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) {
      return NotIcon(icon, image + " lies outside the file");
    }
    auto at = [&](size_t position) { return bytes.begin() + static_cast<ptrdiff_t>(position); };
    images.push_back({Bytes(at(entry), at(entry + 12)), Bytes(at(offset), at(offset + size))});
    ByteReader head(images.back().Data);
    if (head.U32(0) != 40 && head.U32(0) != 0x474E5089)
      return NotIcon(icon, image + " is neither a bitmap nor a PNG");
  }
  return images;
}

bool IsNumbered(const Resource& resource, uint32_t type) {
  return !resource.Keys[0].Named && resource.Keys[0].Id == type && !resource.Keys[1].Named;
}

// Icon group 1, in each language it has (or the neutral one), made of the
// images under new IDs; the images no other group uses go.
Status ReplaceIcon(std::vector<Resource>& resources, const InputFile& icon,
                   const std::vector<IconImage>& images) {
  std::set<uint32_t> old, kept;  // image IDs of group 1, of the other groups
  std::set<ResourceKey> languages;
  for (const Resource& r : resources) {
    if (!IsNumbered(r, kGroupIconType)) continue;
    bool ours = r.Keys[1].Id == kIconGroup;
    if (ours) languages.insert(r.Keys[2]);
    ByteReader entries(r.Data);
    for (size_t i = 0; i < U16(entries, 4) && entries.Ok(); ++i) {
      (ours ? old : kept).insert(U16(entries, 6 + 14 * i + 12));
    }
  }
  std::erase_if(resources, [&](const Resource& r) {
    return (IsNumbered(r, kIconType) && old.count(r.Keys[1].Id) != 0 && kept.count(r.Keys[1].Id) == 0) ||
           (IsNumbered(r, kGroupIconType) && r.Keys[1].Id == kIconGroup);
  });
  uint32_t nextId = 1;
  for (const Resource& r : resources) {
    if (IsNumbered(r, kIconType)) nextId = std::max(nextId, r.Keys[1].Id + 1);
  }
  if (nextId + images.size() > 0x10000) return NotIcon(icon, "it holds more images than a program can");
  if (languages.empty()) languages.insert(ResourceKey{});
  Bytes group{0, 0, 1, 0};
  Put16(group, static_cast<uint32_t>(images.size()));
  for (const IconImage& image : images) {
    group.insert(group.end(), image.Entry.begin(), image.Entry.end());
    Put16(group, nextId);
    for (const ResourceKey& language : languages) {
      resources.push_back({{{{false, u"", kIconType}, {false, u"", nextId}, language}}, image.Data, 0});
    }
    ++nextId;
  }
  for (const ResourceKey& language : languages) {
    resources.push_back({{{{false, u"", kGroupIconType}, {false, u"", kIconGroup}, language}}, group, 0});
  }
  return Done{};
}

// The checksum the image loader checks for drivers: 16-bit words summed
// with their carries, the checksum field left out, plus the file's length.
uint32_t PeCheckSum(const Bytes& bytes, size_t checksumOffset) {
  uint64_t sum = 0;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    if (i == checksumOffset || i == checksumOffset + 2) continue;
    sum += bytes[i] + (i + 1 < bytes.size() ? uint32_t{bytes[i + 1]} << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<uint32_t>(((sum & 0xFFFF) + (sum >> 16)) + bytes.size());
}

// The stub with tree as its resource section at the same address; the
// sections after it and the headers that give their places follow.
Bytes Relayout(const Bytes& stub, const PeLayout& pe, const Bytes& tree) {
  const Section& resources = pe.Sections[pe.Resources];
  size_t oldRaw = resources.RawSize, newRaw = AlignUp(tree.size(), pe.FileAlignment);
  size_t oldVirtual = AlignUp(resources.VirtualSize, pe.SectionAlignment);
  int64_t rawDelta = static_cast<int64_t>(newRaw) - static_cast<int64_t>(oldRaw);
  int64_t virtualDelta =
      static_cast<int64_t>(AlignUp(tree.size(), pe.SectionAlignment)) - static_cast<int64_t>(oldVirtual);
  Bytes out(stub.begin(), stub.begin() + resources.RawPointer);
  out.insert(out.end(), tree.begin(), tree.end());
  out.resize(out.size() + newRaw - tree.size());
  out.insert(out.end(), stub.begin() + static_cast<ptrdiff_t>(resources.RawPointer + oldRaw), stub.end());

  ByteReader reader(stub);
  auto shift = [&](size_t offset, int64_t delta) {
    Set32(out, offset, static_cast<uint64_t>(reader.U32(offset) + delta));
  };
  Set32(out, resources.Header + 8, tree.size());
  Set32(out, resources.Header + 16, newRaw);
  for (size_t i = pe.Resources + 1; i < pe.Sections.size(); ++i) {
    shift(pe.Sections[i].Header + 12, virtualDelta);
    if (pe.Sections[i].RawSize != 0) shift(pe.Sections[i].Header + 20, rawDelta);
  }
  Set32(out, pe.Directories + 8 * kResourceDirectory + 4, tree.size());
  if (pe.DirectoryRva[kRelocationDirectory] > resources.VirtualAddress) {
    shift(pe.Directories + 8 * kRelocationDirectory, virtualDelta);
  }
  shift(pe.Optional + kSizeOfImageOffset, virtualDelta);
  if ((resources.Characteristics & kInitializedData) != 0)
    shift(pe.Optional + kInitializedDataOffset, rawDelta);
  size_t checksum = pe.Optional + kCheckSumOffset;
  if (reader.U32(checksum) != 0) Set32(out, checksum, PeCheckSum(out, checksum));
  return out;
}

}  // namespace

Result<Bytes> RebuildStubResources(const InputFile& stub, const StubDetails& details,
                                   const std::optional<InputFile>& icon) {
  auto pe = ReadHeaders(stub);
  if (!pe) return pe.Error();
  Status movable = CheckMovable(stub, *pe);
  if (movable) movable = CheckRelocations(stub, *pe);
  if (!movable) return movable.Error();
  auto resources = ReadResources(stub, *pe);
  if (!resources) return resources.Error();
  auto strings = StringsOf(details);
  if (!strings) return strings.Error();
  if (!strings->empty()) {
    Status set = SetVersionStrings(stub, *resources, *strings);
    if (!set) return set.Error();
  }
  if (icon) {
    auto images = ReadIcon(*icon);
    if (!images) return images.Error();
    Status replaced = ReplaceIcon(*resources, *icon, *images);
    if (!replaced) return replaced.Error();
  }
  std::sort(resources->begin(), resources->end());
  return Relayout(stub.Bytes, *pe, WriteTree(*resources, pe->Sections[pe->Resources].VirtualAddress));
}

}  // namespace rigbox_tool
