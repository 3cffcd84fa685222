#include "base/unicode_win.h"
#include "winlayer/winlayer_win.h"

Menu::Menu(UINT firstId, std::span<const std::string> itemTemplate) : menu_(CreateMenu()), firstId_(firstId) {
  std::vector<HMENU> open{menu_};
  for (size_t i = 0; i < itemTemplate.size() && !itemTemplate[i].empty(); ++i) {
    const std::string& entry = itemTemplate[i];
    if (entry == ")") {
      if (open.size() > 1) open.pop_back();
      continue;
    }
    if (entry == "(") continue;  // taken with the item before it
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
    if (entry == "-") {
      item.fType = MFT_SEPARATOR;
      item.fState = MFS_GRAYED;
      InsertMenuItemW(open.back(), static_cast<UINT>(-1), TRUE, &item);
      continue;
    }
    const bool opensMenu = i + 1 < itemTemplate.size() && itemTemplate[i + 1] == "(";
    std::wstring text = Widen(entry);
    item.fType = MFT_STRING;
    item.wID = firstId_ + static_cast<UINT>(handlers_.size());
    item.hSubMenu = opensMenu ? CreatePopupMenu() : nullptr;
    item.dwTypeData = text.data();
    InsertMenuItemW(open.back(), static_cast<UINT>(-1), TRUE, &item);
    handlers_.emplace_back();
    itemAccelerators_.emplace_back();
    if (opensMenu) {
      open.push_back(item.hSubMenu);
      ++i;
    }
  }
}

Menu::~Menu() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (menu_ && !attached_) DestroyMenu(menu_);
}

void Menu::BindItem(int32_t item, ItemHandler handler) {
  if (item >= 0 && item < ItemCount()) handlers_[static_cast<size_t>(item)] = std::move(handler);
}

void Menu::SetAccelerator(int32_t item, BYTE flags, WORD key) {
  if (item < 0 || item >= ItemCount()) return;
  itemAccelerators_[static_cast<size_t>(item)] = Accelerator{flags, key};
  RebuildAccelerators();
}

void Menu::RebuildAccelerators() {
  std::vector<ACCEL> table;
  for (size_t i = 0; i < itemAccelerators_.size(); ++i) {
    if (const auto& a = itemAccelerators_[i]) {
      table.push_back({a->Flags, a->Key, static_cast<WORD>(firstId_ + i)});
    }
  }
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  accelerators_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

bool Menu::Dispatch(UINT id) {
  if (id < firstId_ || id - firstId_ >= static_cast<UINT>(ItemCount())) return false;
  const auto item = static_cast<int32_t>(id - firstId_);
  if (const ItemHandler& handler = handlers_[static_cast<size_t>(item)]) handler(*this, item);
  return true;
}
