// cef_menu_model_t: an ordered list of menu items (commands, check and
// radio items, separators, sub-menus) that handlers read and change.
#pragma once

#include <string>
#include <vector>

#include "ref.h"

namespace cefwork {

// Item types and command ids as CEF numbers them.
inline constexpr cef_menu_item_type_t kMenuItemNone = 0;
inline constexpr cef_menu_item_type_t kMenuItemCommand = 1;
inline constexpr cef_menu_item_type_t kMenuItemCheck = 2;
inline constexpr cef_menu_item_type_t kMenuItemRadio = 3;
inline constexpr cef_menu_item_type_t kMenuItemSeparator = 4;
inline constexpr cef_menu_item_type_t kMenuItemSubMenu = 5;

class MenuModel : public CefObject<MenuModel, cef_menu_model_t> {
 public:
  struct Item {
    int command_id = -1;
    cef_menu_item_type_t type = kMenuItemNone;
    std::u16string label;
    int group_id = -1;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    Ref<cef_menu_model_t> sub_menu;
  };

  explicit MenuModel(bool is_sub_menu = false);

  // Appends an item; false for an index out of range (insert).
  bool insert(int index, Item item);
  // The item at `index` or of command `command_id`, or null.
  Item* at(int index);
  Item* of_command(int command_id);

  const bool is_sub_menu;
  std::vector<Item> items;
};

}  // namespace cefwork
