// Nibs: this stand-in's own nib format (an XML property list describing
// windows and their controls, see IBCarbonRuntime.h), read and checked
// whole when the nib is opened, and turned into windows on request.
#include <plist/plist.h>

#include <cstdlib>
#include <climits>

#include "BundleInternal.h"
#include "HIToolboxInternal.h"

namespace {

struct NibItem {
  std::u16string text;
  CharParameter mark = 0;
};

struct NibControl {
  SimControlKind kind = kSimControlUserPane;
  ControlID id{0, 0};
  Rect bounds{0, 0, 0, 0};
  std::u16string text;
  SInt16 value = 0;
  SInt16 minimum = 0;
  SInt16 maximum = 0;
  std::vector<NibItem> items;
  UInt32 command = 0;
  bool enabled = true;
  bool visible = true;
  std::vector<NibControl> controls;
};

struct NibWindow {
  Rect content{0, 0, 0, 0};
  std::vector<NibControl> controls;
};

// Reads the nib's property list; each method returns false after storing
// the first fault in error_.
class NibReader {
 public:
  bool Read(plist_t root, std::map<std::string, NibWindow>* windows) {
    if (plist_get_node_type(root) != PLIST_DICT) return Fail("the root is not a dictionary");
    if (!OnlyKeys(root, {"Windows"})) return false;
    plist_t list = plist_dict_get_item(root, "Windows");
    if (list == nullptr || plist_get_node_type(list) != PLIST_DICT) {
      return Fail("\"Windows\" is not a dictionary");
    }
    return ForEachEntry(list, [&](const std::string& name, plist_t node) {
      where_ = "window \"" + name + "\"";
      NibWindow window;
      if (!ReadWindow(node, &window)) return false;
      (*windows)[name] = std::move(window);
      return true;
    });
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    error_ = where_.empty() ? what : where_ + ": " + what;
    return false;
  }

  template <typename Visit>
  bool ForEachEntry(plist_t dictionary, Visit visit) {
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dictionary, &iter);
    if (iter == nullptr) return Fail("cannot walk a dictionary");
    bool ok = true;
    while (ok) {
      char* key = nullptr;
      plist_t value = nullptr;
      plist_dict_next_item(dictionary, iter, &key, &value);
      if (key == nullptr) break;
      std::string name = key;
      std::free(key);
      ok = value != nullptr ? visit(name, value) : Fail("\"" + name + "\" has no value");
    }
    std::free(iter);
    return ok;
  }

  bool OnlyKeys(plist_t dictionary, std::initializer_list<const char*> allowed) {
    return ForEachEntry(dictionary, [&](const std::string& name, plist_t) {
      for (const char* key : allowed) {
        if (name == key) return true;
      }
      return Fail("unknown key \"" + name + "\"");
    });
  }

  bool Integer(plist_t node, const char* key, int64_t low, int64_t high, int64_t* out) {
    if (plist_get_node_type(node) != PLIST_UINT) return Fail(std::string("\"") + key + "\" is not an integer");
    uint64_t raw = 0;
    plist_get_uint_val(node, &raw);
    *out = static_cast<int64_t>(raw);
    if (*out < low || *out > high) return Fail(std::string("\"") + key + "\" is out of range");
    return true;
  }

  bool SInt16Value(plist_t dictionary, const char* key, SInt16* out) {
    plist_t node = plist_dict_get_item(dictionary, key);
    if (node == nullptr) return true;
    int64_t value;
    if (!Integer(node, key, SHRT_MIN, SHRT_MAX, &value)) return false;
    *out = static_cast<SInt16>(value);
    return true;
  }

  bool Text(plist_t node, const char* key, std::u16string* out) {
    uint64_t length = 0;
    const char* bytes = plist_get_node_type(node) == PLIST_STRING ? plist_get_string_ptr(node, &length) : nullptr;
    if (bytes == nullptr || !standin::DecodeText(std::string(bytes, length), kCFStringEncodingUTF8, out)) {
      return Fail(std::string("\"") + key + "\" is not a string");
    }
    return true;
  }

  bool Flag(plist_t dictionary, const char* key, bool* out) {
    plist_t node = plist_dict_get_item(dictionary, key);
    if (node == nullptr) return true;
    if (plist_get_node_type(node) != PLIST_BOOLEAN) return Fail(std::string("\"") + key + "\" is not a Boolean");
    uint8_t value = 0;
    plist_get_bool_val(node, &value);
    *out = value != 0;
    return true;
  }

  // A four-character code as its 4 characters, or as an integer.
  bool Code(plist_t node, const char* key, UInt32* out) {
    if (plist_get_node_type(node) == PLIST_UINT) {
      int64_t value;
      if (!Integer(node, key, 0, UINT32_MAX, &value)) return false;
      *out = static_cast<UInt32>(value);
      return true;
    }
    uint64_t length = 0;
    const char* bytes = plist_get_node_type(node) == PLIST_STRING ? plist_get_string_ptr(node, &length) : nullptr;
    if (bytes == nullptr || length != 4) return Fail(std::string("\"") + key + "\" is not 4 characters");
    *out = 0;
    for (int i = 0; i < 4; ++i) {
      auto c = static_cast<unsigned char>(bytes[i]);
      if (c < 0x20 || c > 0x7E) return Fail(std::string("\"") + key + "\" is not 4 printable characters");
      *out = *out << 8 | c;
    }
    return true;
  }

  bool Bounds(plist_t node, const char* key, Rect* out) {
    if (node == nullptr) return Fail(std::string("\"") + key + "\" is missing");
    if (plist_get_node_type(node) != PLIST_ARRAY || plist_array_get_size(node) != 4) {
      return Fail(std::string("\"") + key + "\" is not [top, left, bottom, right]");
    }
    SInt16* sides[] = {&out->top, &out->left, &out->bottom, &out->right};
    for (uint32_t i = 0; i < 4; ++i) {
      int64_t value;
      if (!Integer(plist_array_get_item(node, i), key, SHRT_MIN, SHRT_MAX, &value)) return false;
      *sides[i] = static_cast<SInt16>(value);
    }
    return true;
  }

  bool ReadWindow(plist_t node, NibWindow* window) {
    if (plist_get_node_type(node) != PLIST_DICT) return Fail("not a dictionary");
    if (!OnlyKeys(node, {"ContentBounds", "Controls"})) return false;
    if (!Bounds(plist_dict_get_item(node, "ContentBounds"), "ContentBounds", &window->content)) return false;
    return ReadControls(plist_dict_get_item(node, "Controls"), where_, &window->controls);
  }

  bool ReadControls(plist_t node, const std::string& container, std::vector<NibControl>* controls) {
    if (node == nullptr) return true;
    if (plist_get_node_type(node) != PLIST_ARRAY) return Fail("\"Controls\" is not an array");
    for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
      where_ = container + ", control " + std::to_string(i + 1);
      NibControl control;
      if (!ReadControl(plist_array_get_item(node, i), &control)) return false;
      controls->push_back(std::move(control));
    }
    return true;
  }

  bool ReadControl(plist_t node, NibControl* control) {
    if (plist_get_node_type(node) != PLIST_DICT) return Fail("not a dictionary");
    if (!OnlyKeys(node, {"Kind", "Signature", "ID", "Bounds", "Text", "Value", "Minimum", "Maximum",
                         "Items", "Command", "Enabled", "Visible", "Controls"})) {
      return false;
    }
    static const struct {
      const char* name;
      SimControlKind kind;
    } kKinds[] = {{"EditText", kSimControlEditText},       {"PasswordEditText", kSimControlPasswordEditText},
                  {"StaticText", kSimControlStaticText},   {"PopupButton", kSimControlPopupButton},
                  {"CheckBox", kSimControlCheckBox},       {"UserPane", kSimControlUserPane}};
    plist_t kind = plist_dict_get_item(node, "Kind");
    const char* kindName = kind != nullptr && plist_get_node_type(kind) == PLIST_STRING
                               ? plist_get_string_ptr(kind, nullptr) : nullptr;
    bool known = false;
    for (const auto& entry : kKinds) {
      if (kindName != nullptr && std::string(kindName) == entry.name) {
        control->kind = entry.kind;
        known = true;
      }
    }
    if (!known) return Fail("\"Kind\" is missing or not one of the known kinds");
    const bool popup = control->kind == kSimControlPopupButton;
    const bool pane = control->kind == kSimControlUserPane;

    if (plist_t signature = plist_dict_get_item(node, "Signature")) {
      if (!Code(signature, "Signature", &control->id.signature)) return false;
    }
    if (plist_t id = plist_dict_get_item(node, "ID")) {
      int64_t value;
      if (!Integer(id, "ID", INT32_MIN, INT32_MAX, &value)) return false;
      control->id.id = static_cast<SInt32>(value);
    }
    if (!Bounds(plist_dict_get_item(node, "Bounds"), "Bounds", &control->bounds)) return false;
    if (plist_t text = plist_dict_get_item(node, "Text")) {
      if (pane) return Fail("a user pane has no text");
      if (!Text(text, "Text", &control->text)) return false;
    }
    if (plist_t items = plist_dict_get_item(node, "Items")) {
      if (!popup) return Fail("only a popup button has items");
      if (!ReadItems(items, &control->items)) return false;
    }
    if (popup && control->items.empty()) return Fail("a popup button needs items");
    if (plist_t command = plist_dict_get_item(node, "Command")) {
      if (!Code(command, "Command", &control->command)) return false;
    }
    if (!Flag(node, "Enabled", &control->enabled) || !Flag(node, "Visible", &control->visible)) return false;

    if (popup) {
      control->value = control->minimum = 1;
      control->maximum = static_cast<SInt16>(std::min<size_t>(control->items.size(), SHRT_MAX));
    } else if (control->kind == kSimControlCheckBox) {
      control->maximum = 1;
    }
    if (!SInt16Value(node, "Minimum", &control->minimum) || !SInt16Value(node, "Maximum", &control->maximum) ||
        !SInt16Value(node, "Value", &control->value)) {
      return false;
    }
    if (control->minimum > control->maximum || control->value < control->minimum ||
        control->value > control->maximum) {
      return Fail("\"Value\" is not within \"Minimum\" and \"Maximum\"");
    }
    if (plist_t children = plist_dict_get_item(node, "Controls")) {
      if (!pane) return Fail("only a user pane holds controls");
      if (!ReadControls(children, where_, &control->controls)) return false;
    }
    return true;
  }

  bool ReadItems(plist_t node, std::vector<NibItem>* items) {
    if (plist_get_node_type(node) != PLIST_ARRAY) return Fail("\"Items\" is not an array");
    for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
      plist_t item = plist_array_get_item(node, i);
      NibItem entry;
      if (plist_get_node_type(item) == PLIST_DICT) {
        if (!OnlyKeys(item, {"Text", "Mark"})) return false;
        plist_t text = plist_dict_get_item(item, "Text");
        if (text == nullptr || !Text(text, "Text", &entry.text)) return Fail("an item has no \"Text\" string");
        if (plist_t mark = plist_dict_get_item(item, "Mark")) {
          int64_t value;
          if (!Integer(mark, "Mark", 0, SHRT_MAX, &value)) return false;
          entry.mark = static_cast<CharParameter>(value);
        }
      } else if (!Text(item, "Items", &entry.text)) {
        return false;
      }
      items->push_back(std::move(entry));
    }
    return true;
  }

  std::string where_;
  std::string error_;
};

void Build(const NibControl& description, ControlRef parent) {
  ControlRef control = standin::NewControl(description.kind, parent);
  control->id = description.id;
  control->bounds = description.bounds;
  control->minimum = description.minimum;
  control->maximum = description.maximum;
  control->value = description.value;
  control->enabled = description.enabled;
  control->visible = description.visible;
  control->command = description.command;
  standin::SetEditText(control, description.text);
  if (description.kind == kSimControlPopupButton) {
    control->menu = std::make_unique<OpaqueMenuRef>();
    for (const NibItem& item : description.items) control->menu->items.push_back({item.text, item.mark});
  }
  for (const NibControl& child : description.controls) Build(child, control);
}

}  // namespace

struct OpaqueIBNibRef {
  std::map<std::string, NibWindow> windows;
};

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef) {
  if (outNibRef == nullptr) return paramErr;
  *outNibRef = nullptr;
  if (inBundle == nullptr || inNibName == nullptr) return paramErr;
  const std::string name = standin::UTF8(inNibName);
  const std::string path = standin::FindResource(standin::Bundle(inBundle), name, "nib", "");
  std::string bytes;
  int error = 0;
  if (path.empty() || !standin::ReadFile(path, &bytes, &error)) return kIBCarbonRuntimeCantFindNibFile;
  plist_t root = nullptr;
  if (!bytes.empty() && bytes.size() < UINT32_MAX) {
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  }
  if (root == nullptr) {
    standin::Warn("%s: not a property list", path.c_str());
    return coreFoundationUnknownErr;
  }
  auto nib = std::make_unique<OpaqueIBNibRef>();
  NibReader reader;
  bool ok = reader.Read(root, &nib->windows);
  plist_free(root);
  if (!ok) {
    standin::Warn("%s: %s", path.c_str(), reader.Error().c_str());
    return coreFoundationUnknownErr;
  }
  *outNibRef = nib.release();
  return noErr;
}

OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow) {
  if (outWindow == nullptr) return paramErr;
  *outWindow = nullptr;
  if (inNibRef == nullptr || inName == nullptr) return paramErr;
  auto found = inNibRef->windows.find(standin::UTF8(inName));
  if (found == inNibRef->windows.end()) return kIBCarbonRuntimeCantFindObject;
  auto* window = new OpaqueWindowPtr(found->second.content);
  for (const NibControl& control : found->second.controls) Build(control, window->root.get());
  *outWindow = window;
  return noErr;
}

void DisposeNibReference(IBNibRef inNibRef) { delete inNibRef; }
