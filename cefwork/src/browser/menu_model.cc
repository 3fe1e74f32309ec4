#include "browser/menu_model.h"

#include <type_traits>

#include "string_util.h"

namespace cefwork {
namespace {

using Item = MenuModel::Item;

MenuModel* model(cef_menu_model_t* self) { return MenuModel::from(self); }

// Every member comes in two forms: by command id and by index (`_at`).
// These build both from one function of the item, with `fallback` when
// there is no such item.
template <auto F, auto Fallback>
auto by_id() {
  return [](cef_menu_model_t* self, int id, auto... args) {
    Item* item = model(self)->of_command(id);
    return item ? F(*item, args...) : Fallback;
  };
}
template <auto F, auto Fallback>
auto by_index() {
  return [](cef_menu_model_t* self, int index, auto... args) {
    Item* item = model(self)->at(index);
    return item ? F(*item, args...) : Fallback;
  };
}

Item labelled(int id, cef_menu_item_type_t type, const cef_string_t* label, int group = -1) {
  Item item;
  item.command_id = id;
  item.type = type;
  item.label = view(label);
  item.group_id = group;
  return item;
}

cef_menu_model_t* add_sub(MenuModel& m, int index, int id, const cef_string_t* label) {
  Item item = labelled(id, kMenuItemSubMenu, label);
  item.sub_menu = Ref<cef_menu_model_t>::adopt(&(new MenuModel(true))->cef);
  cef_menu_model_t* sub = item.sub_menu.get();
  return m.insert(index, std::move(item)) ? (add_ref(sub), sub) : nullptr;
}

constexpr auto get_label = [](Item& i) { return userfree(std::u16string_view(i.label)); };
constexpr auto set_label = [](Item& i, const cef_string_t* label) {
  i.label = view(label);
  return 1;
};
constexpr auto get_type = [](Item& i) { return i.type; };
constexpr auto get_group = [](Item& i) { return i.group_id; };
constexpr auto set_group = [](Item& i, int group) {
  i.group_id = group;
  return 1;
};
constexpr auto get_sub = [](Item& i) -> cef_menu_model_t* { return i.sub_menu.share(); };
constexpr auto is_visible = [](Item& i) { return i.visible ? 1 : 0; };
constexpr auto set_visible = [](Item& i, int on) {
  i.visible = on != 0;
  return 1;
};
constexpr auto is_enabled = [](Item& i) { return i.enabled ? 1 : 0; };
constexpr auto set_enabled = [](Item& i, int on) {
  i.enabled = on != 0;
  return 1;
};
constexpr auto is_checked = [](Item& i) { return i.checked ? 1 : 0; };
constexpr auto set_checked = [](Item& i, int on) {
  if (i.type != kMenuItemCheck && i.type != kMenuItemRadio) return 0;
  i.checked = on != 0;
  return 1;
};
constexpr cef_string_userfree_t kNoLabel = nullptr;
constexpr cef_menu_model_t* kNoMenu = nullptr;

}  // namespace

MenuModel::MenuModel(bool sub) : is_sub_menu(sub) {
  cef.is_sub_menu = [](cef_menu_model_t* self) { return model(self)->is_sub_menu ? 1 : 0; };
  cef.clear = [](cef_menu_model_t* self) {
    model(self)->items.clear();
    return 1;
  };
  cef.get_count = [](cef_menu_model_t* self) { return static_cast<int>(model(self)->items.size()); };
  cef.add_separator = [](cef_menu_model_t* self) {
    Item item;
    item.type = kMenuItemSeparator;
    return model(self)->insert(-1, item) ? 1 : 0;
  };
  cef.add_item = [](cef_menu_model_t* self, int id, const cef_string_t* label) {
    return model(self)->insert(-1, labelled(id, kMenuItemCommand, label)) ? 1 : 0;
  };
  cef.add_check_item = [](cef_menu_model_t* self, int id, const cef_string_t* label) {
    return model(self)->insert(-1, labelled(id, kMenuItemCheck, label)) ? 1 : 0;
  };
  cef.add_radio_item = [](cef_menu_model_t* self, int id, const cef_string_t* label, int group) {
    return model(self)->insert(-1, labelled(id, kMenuItemRadio, label, group)) ? 1 : 0;
  };
  cef.add_sub_menu = [](cef_menu_model_t* self, int id, const cef_string_t* label) {
    return add_sub(*model(self), -1, id, label);
  };
  cef.insert_separator_at = [](cef_menu_model_t* self, int index) {
    Item item;
    item.type = kMenuItemSeparator;
    return model(self)->insert(index, item) ? 1 : 0;
  };
  cef.insert_item_at = [](cef_menu_model_t* self, int index, int id, const cef_string_t* label) {
    return model(self)->insert(index, labelled(id, kMenuItemCommand, label)) ? 1 : 0;
  };
  cef.insert_check_item_at = [](cef_menu_model_t* self, int index, int id,
                                const cef_string_t* label) {
    return model(self)->insert(index, labelled(id, kMenuItemCheck, label)) ? 1 : 0;
  };
  cef.insert_radio_item_at = [](cef_menu_model_t* self, int index, int id,
                                const cef_string_t* label, int group) {
    return model(self)->insert(index, labelled(id, kMenuItemRadio, label, group)) ? 1 : 0;
  };
  cef.insert_sub_menu_at = [](cef_menu_model_t* self, int index, int id,
                              const cef_string_t* label) {
    return add_sub(*model(self), index, id, label);
  };
  cef.remove = [](cef_menu_model_t* self, int id) {
    const int index = self->get_index_of(self, id);
    return index >= 0 ? self->remove_at(self, index) : 0;
  };
  cef.remove_at = [](cef_menu_model_t* self, int index) {
    auto& items = model(self)->items;
    if (!model(self)->at(index)) return 0;
    items.erase(items.begin() + index);
    return 1;
  };
  cef.get_index_of = [](cef_menu_model_t* self, int id) {
    const auto& items = model(self)->items;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].command_id == id) return static_cast<int>(i);
    return -1;
  };
  cef.get_command_id_at = by_index<[](Item& i) { return i.command_id; }, -1>();
  cef.set_command_id_at = by_index<[](Item& i, int id) {
    i.command_id = id;
    return 1;
  }, 0>();
  cef.get_label = by_id<get_label, kNoLabel>();
  cef.get_label_at = by_index<get_label, kNoLabel>();
  cef.set_label = by_id<set_label, 0>();
  cef.set_label_at = by_index<set_label, 0>();
  cef.get_type = by_id<get_type, kMenuItemNone>();
  cef.get_type_at = by_index<get_type, kMenuItemNone>();
  cef.get_group_id = by_id<get_group, -1>();
  cef.get_group_id_at = by_index<get_group, -1>();
  cef.set_group_id = by_id<set_group, 0>();
  cef.set_group_id_at = by_index<set_group, 0>();
  cef.get_sub_menu = by_id<get_sub, kNoMenu>();
  cef.get_sub_menu_at = by_index<get_sub, kNoMenu>();
  cef.is_visible = by_id<is_visible, 0>();
  cef.is_visible_at = by_index<is_visible, 0>();
  cef.set_visible = by_id<set_visible, 0>();
  cef.set_visible_at = by_index<set_visible, 0>();
  cef.is_enabled = by_id<is_enabled, 0>();
  cef.is_enabled_at = by_index<is_enabled, 0>();
  cef.set_enabled = by_id<set_enabled, 0>();
  cef.set_enabled_at = by_index<set_enabled, 0>();
  cef.is_checked = by_id<is_checked, 0>();
  cef.is_checked_at = by_index<is_checked, 0>();
  cef.set_checked = by_id<set_checked, 0>();
  cef.set_checked_at = by_index<set_checked, 0>();
  // Menus of this engine are never drawn: accelerators, colours and fonts
  // are not kept.
  cef.has_accelerator = [](cef_menu_model_t*, int) { return 0; };
  cef.has_accelerator_at = [](cef_menu_model_t*, int) { return 0; };
  cef.set_accelerator = [](cef_menu_model_t*, int, int, int, int, int) { return 0; };
  cef.set_accelerator_at = [](cef_menu_model_t*, int, int, int, int, int) { return 0; };
  cef.remove_accelerator = [](cef_menu_model_t*, int) { return 0; };
  cef.remove_accelerator_at = [](cef_menu_model_t*, int) { return 0; };
  cef.get_accelerator = [](cef_menu_model_t*, int, int*, int*, int*, int*) { return 0; };
  cef.get_accelerator_at = [](cef_menu_model_t*, int, int*, int*, int*, int*) { return 0; };
  cef.set_color = [](cef_menu_model_t*, int, cef_menu_color_type_t, cef_color_t) { return 0; };
  cef.set_color_at = [](cef_menu_model_t*, int, cef_menu_color_type_t, cef_color_t) { return 0; };
  cef.get_color = [](cef_menu_model_t*, int, cef_menu_color_type_t, cef_color_t*) { return 0; };
  cef.get_color_at = [](cef_menu_model_t*, int, cef_menu_color_type_t, cef_color_t*) { return 0; };
  cef.set_font_list = [](cef_menu_model_t*, int, const cef_string_t*) { return 0; };
  cef.set_font_list_at = [](cef_menu_model_t*, int, const cef_string_t*) { return 0; };
}

bool MenuModel::insert(int index, Item item) {
  if (index < 0) index = static_cast<int>(items.size());
  if (index > static_cast<int>(items.size())) return false;
  items.insert(items.begin() + index, std::move(item));
  return true;
}

MenuModel::Item* MenuModel::at(int index) {
  return index >= 0 && index < static_cast<int>(items.size()) ? &items[index] : nullptr;
}

MenuModel::Item* MenuModel::of_command(int command_id) {
  for (Item& item : items)
    if (item.command_id == command_id) return &item;
  return nullptr;
}

}  // namespace cefwork
