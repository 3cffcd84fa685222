// The window and control layer: a thin object layer over Win32 on which the
// viewer is built. Every window object owns its handle and its children;
// the application binds plain handlers to the events a control raises.
//
// Sections: colours and fonts; GDI handles; the window base; the
// application and main windows; panels, paint boxes, labels and splitters;
// the tree view; menus; image lists; the open dialog; bitmaps; the message
// loop.
#pragma once

#include <windows.h>
// Keep this order: commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/layout.h"
#include "winlayer/mouse.h"

class Bitmap;

// ---------------------------------------------------------------------------
// Colours and fonts (gdi_win.cpp)

// A system colour (COLOR_*) looked up when used, or a fixed RGB value.
class ColorValue {
 public:
  static ColorValue System(int index) { return ColorValue(true, index, 0); }
  static ColorValue Rgb(uint8_t r, uint8_t g, uint8_t b) { return ColorValue(false, 0, RGB(r, g, b)); }

  COLORREF Resolve() const { return system_ ? GetSysColor(index_) : rgb_; }
  bool operator==(const ColorValue&) const = default;

 private:
  ColorValue(bool system, int index, COLORREF rgb) : system_(system), index_(index), rgb_(rgb) {}
  bool system_;
  int index_;
  COLORREF rgb_;
};

// What a control draws its text with. Height is LOGFONT's lfHeight: positive
// for a cell height, negative for a character height, 0 for the default.
struct FontStyle {
  std::wstring Face = L"MS Sans Serif";
  int32_t Height = 0;
  bool Bold = false;
  uint8_t CharSet = DEFAULT_CHARSET;
  ColorValue Color = ColorValue::System(COLOR_WINDOWTEXT);
};

// ---------------------------------------------------------------------------
// GDI handles (gdi_win.cpp)

// A GDI object with one owner: deleted when the owner lets it go.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using PenHandle = GdiObject<HPEN>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;

FontHandle CreateFontFrom(const FontStyle& style);

// Selects an object into a device context for the lifetime of the scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }

  HDC Dc() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An off-screen picture compatible with `target`, of the given size, to be
// composed in full and then shown in one step.
class MemoryDc {
 public:
  MemoryDc(HDC target, int32_t width, int32_t height);
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc();

  HDC Dc() const { return dc_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  HDC dc_;
  BitmapHandle bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int32_t width_;
  int32_t height_;
};

// The off-screen picture of one paint: `width` x `height` pixels, composed
// in full and then copied to the window in one step. Paints share one
// buffer, which the layer keeps and grows to the largest area asked for:
// making a DC and a bitmap for every paint cost more than many a paint
// (under Wine, several round trips to the server each). A paint that starts
// while the shared buffer is in use gets a buffer of its own. The DC's state
// is restored when the paint ends.
class PaintBuffer {
 public:
  PaintBuffer(HDC target, int32_t width, int32_t height);
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;
  ~PaintBuffer();

  HDC Dc() const { return dc_; }
  // Copies the paint's area to `target`'s origin.
  void CopyTo(HDC target) const;

 private:
  std::unique_ptr<MemoryDc> own_;
  HDC dc_;
  int saved_;
  int32_t width_;
  int32_t height_;
};

// ---------------------------------------------------------------------------
// The window base (window_win.cpp)

struct WindowParams {
  const wchar_t* ClassName = nullptr;
  std::wstring Text{};
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Rect Bounds{};          // outer rectangle, in the parent's client coordinates
  HWND Parent = nullptr;  // parent of a child, owner of a top-level window
  HMENU Menu = nullptr;   // a top-level window's menu bar
};

// One window object per window handle. The object arrives with WM_NCCREATE,
// is kept in GWLP_USERDATA and is forgotten at WM_NCDESTROY. A window owns
// its child window objects; WM_NOTIFY and WM_COMMAND from a child are handed
// back to that child's object, which decodes them.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  // The object of one of this layer's windows, or null for any other window.
  static Window* FromHandle(HWND hwnd);

  Window* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<Window>>& Children() const { return children_; }
  // The child created just before `child`, or null.
  Window* ChildBefore(const Window& child) const;

  // Placement by alignment. Bounds are in the parent's client coordinates.
  Align Alignment() const { return alignment_; }
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds);
  void SetWidth(int32_t width);
  int32_t Margin() const { return margin_; }
  bool Visible() const { return visible_; }
  void Show();
  void Hide();

  // Places the aligned children again (see LayoutChildren).
  void Relayout();
  // The width left between the edge-aligned children at the last layout,
  // margins taken off: what a client-aligned child gets.
  int32_t RoomAfterEdges() const;

  const ColorValue& Color() const { return color_; }
  const FontStyle& Font() const { return font_; }
  void SetFont(const FontStyle& font);
  // The font as a GDI object, made on first use.
  HFONT FontHandleOf();

  std::string Text() const;
  void SetText(const std::string& text);
  // Turns drawing off while many changes are made, and back on with one
  // repaint of the window.
  void SetRedraw(bool redraw);
  Rect ClientRect() const;
  void Invalidate();

  // Objects freed together with the window, after its handle is gone.
  template <class T>
  T& FreeWithWindow(std::unique_ptr<T> object) {
    T* raw = object.release();
    adopted_.emplace_back(raw, [](void* p) { delete static_cast<T*>(p); });
    return *raw;
  }

  // Draws what this window shows behind its children into `dc`, in this
  // window's client coordinates. Transparent controls ask their parent.
  virtual void DrawContent(HDC dc);
  // The keyboard accelerators of this window, if it has any.
  virtual HACCEL Accelerators() const { return nullptr; }

  // Takes a new child object, which starts with this window's colour and
  // font; its handle is made by the child. The control factories (CreateIn)
  // return the child, or null after dropping it again when the system did
  // not make its window: no object without a handle stays behind.
  template <class T>
  T& AddChild(std::unique_ptr<T> child) {
    child->parent_ = this;
    child->color_ = color_;
    child->font_ = font_;
    T& ref = *child;
    children_.push_back(std::move(child));
    return ref;
  }
  // Frees `child`, one of this window's children.
  void DropChild(const Window& child);

 protected:
  // Creates the handle with the object as its creation parameter. Child
  // windows are then placed by the parent's layout.
  bool CreateHandle(const WindowParams& params);
  void SetPlacement(Align alignment, const Rect& bounds, int32_t margin);
  void SetColor(const ColorValue& color) { color_ = color; }
  // Draws the parent's content under this window into `dc` (client coordinates).
  void DrawParentContent(HDC dc);
  // The paint messages of an opaque window that draws DrawContent directly;
  // nullopt for any other message.
  std::optional<LRESULT> PaintOpaque(UINT message);
  // Whether the window has anything outside its client area: a border, a
  // caption, scroll bars.
  bool HasFrame() const;

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallBase(UINT message, WPARAM wParam, LPARAM lParam);
  // A notification or command of this control, handed back by its parent.
  virtual std::optional<LRESULT> Notified(const NMHDR& header);
  virtual bool Commanded(WORD code);

  // Registers a window class of this layer once; null if that fails. System
  // controls keep their own classes and are subclassed once created. A top-
  // level window's icon resource comes with its class, so the window shows
  // it from the moment it exists: set on the window afterwards (WM_SETICON),
  // each icon had the window system convert the pictures once more, which
  // under Wine cost two milliseconds apiece.
  static const wchar_t* OwnClass(const wchar_t* name, UINT style, int background,
                                 const wchar_t* icon = nullptr);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Lays out the children into `items`, one per child in creation order, and
  // returns the rectangle left for client children.
  Rect LayOut(std::vector<LayoutItem>& items) const;
  // Where the layout at the current size puts `child`, one of this window's
  // children; its own bounds if it is not aligned.
  Rect LaidOut(const Window& child) const;

  HWND hwnd_ = nullptr;
  WNDPROC baseProc_ = DefWindowProcW;
  Window* parent_ = nullptr;  // not owned
  std::vector<std::unique_ptr<Window>> children_;
  std::vector<std::unique_ptr<void, void (*)(void*)>> adopted_;
  Align alignment_ = Align::None;
  Rect bounds_;
  Rect placed_;  // where the handle was last put, to skip moves that change nothing
  int32_t margin_ = 0;
  bool visible_ = true;
  int32_t roomAfterEdges_ = 0;
  ColorValue color_ = ColorValue::System(COLOR_BTNFACE);
  FontStyle font_;
  FontHandle fontHandle_;
};

// ---------------------------------------------------------------------------
// The application and main windows (appwindow_win.cpp, topwindow_win.cpp)

class Menu;
class TopWindow;

struct TopWindowOptions {
  std::string Caption{};
  Rect Bounds{};  // outer rectangle on the screen
  FontStyle Font{};
  ColorValue Color = ColorValue::System(COLOR_BTNFACE);
  int32_t Margin = 0;
  // The menu bar's template (see Menu); the window is made with the bar in
  // place. Item identifiers come from the window's running counter, which
  // starts at 4096.
  std::span<const std::string> MenuItems{};
  const wchar_t* Icon = nullptr;  // icon resource of the title bar
};

// The invisible window that carries the program's taskbar button and owns
// the main window.
class ApplicationWindow final : public Window {
 public:
  ~ApplicationWindow() override;

  // `icon` names the icon resource of the taskbar button.
  bool Create(const std::string& caption, const wchar_t* icon);
  // That icon, a shared icon of the program.
  HICON Icon() const { return icon_; }
  // Greys Restore and removes Size, Move and Maximize from the system menu.
  void TrimSystemMenu();

  // Null when the system does not make the window.
  TopWindow* CreateMainWindow(const TopWindowOptions& options);
  TopWindow* MainWindow() const { return main_.get(); }
  // Destroys the window, and with it the main window.
  void Destroy();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::unique_ptr<TopWindow> main_;
  HICON icon_ = nullptr;  // shared resource: not destroyed
};

// The program's main window: an overlapped window owned by the application
// window. Closing it ends the message loop; the application window's end
// destroys it. Like a dialog it hands the keyboard focus on to a control:
// the one that had it when the window was last left, else the first tab
// stop, so the keyboard works without a click first.
class TopWindow final : public Window {
 public:
  explicit TopWindow(ApplicationWindow& owner) : owner_(owner) {}

  bool Create(const TopWindowOptions& options);
  Rect WindowRect() const;
  void ShowWindow(int command = SW_SHOW);

  Menu* MenuBar() const { return menu_.get(); }
  HACCEL Accelerators() const override;

  // The window goes from hidden to shown.
  std::function<void(TopWindow&)> Shown;
  // The window is being destroyed; its children still exist.
  std::function<void(TopWindow&)> Destroyed;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PassFocusOn();

  ApplicationWindow& owner_;
  std::unique_ptr<Menu> menu_;
  UINT nextCommandId_ = 4096;
  HWND lastFocus_ = nullptr;  // not owned: a descendant, checked before use
};

// ---------------------------------------------------------------------------
// Panels, paint boxes, labels and splitters: STATIC controls that this layer
// paints itself (panel_win.cpp, paintbox_win.cpp, label_win.cpp,
// splitter_win.cpp).

// Styles shared by these controls.
constexpr DWORD StaticControlStyle =
    WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

struct PanelOptions {
  Align Alignment = Align::None;
  Rect Bounds{};
  int32_t Margin = 0;
  std::optional<ColorValue> Color{};  // the parent's when empty
  bool RaisedEdge = false;            // WS_DLGFRAME
};

// A container filled with its colour.
class Panel final : public Window {
 public:
  static Panel* CreateIn(Window& parent, const PanelOptions& options);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

struct PaintBoxOptions {
  Align Alignment = Align::None;
  Rect Bounds{};
  int32_t Margin = 0;
  std::optional<FontStyle> Font{};  // the parent's when empty
};

// A transparent, double-buffered drawing surface: each paint starts from the
// parent's picture, then the paint handler draws over it off-screen.
class PaintBox final : public Window {
 public:
  static PaintBox* CreateIn(Window& parent, const PaintBoxOptions& options);
  void DrawContent(HDC dc) override;

  std::function<void(PaintBox&, HDC)> Paint;
  // Positions are client coordinates, signed 16-bit as the message holds them.
  std::function<void(PaintBox&, MouseButton, int32_t x, int32_t y)> MouseDown;
  std::function<void(PaintBox&, int32_t x, int32_t y)> MouseMove;
  std::function<void(PaintBox&, MouseButton, int32_t x, int32_t y)> MouseUp;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

struct LabelOptions {
  Rect Bounds{};
  std::string Text{};
  std::optional<FontStyle> Font{};  // the parent's when empty
};

// One line of text drawn transparently over the parent's picture, clipped at
// the right edge, "&" shown as is. Click, enter and leave are raised for
// handlers that want them.
class Label final : public Window {
 public:
  static Label* CreateIn(Window& parent, const LabelOptions& options);
  void DrawContent(HDC dc) override;

  void SetTextColor(const ColorValue& color);
  void SetHandCursor(bool hand) { handCursor_ = hand; }
  // Puts the label above its overlapping siblings.
  void BringToTop();

  std::function<void(Label&)> Click;
  std::function<void(Label&)> Enter;
  std::function<void(Label&)> Leave;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool Commanded(WORD code) override;

 private:
  void PointerAt(POINT client);
  void PointerGone();

  ColorValue textColor_ = ColorValue::System(COLOR_WINDOWTEXT);
  bool handCursor_ = false;
  bool pointerInside_ = false;
};

struct SplitterOptions {
  Align Alignment = Align::Left;
  int32_t Width = 4;
};

// A bar that resizes the control created just before it in the same
// container. The drag follows the pointer on the screen, stops at 0 on
// either side and is cancelled by Escape, which a 100 ms timer looks at.
class Splitter final : public Window {
 public:
  static constexpr UINT_PTR EscapeTimer = 123;
  static constexpr UINT EscapeInterval = 100;

  static Splitter* CreateIn(Window& parent, const SplitterOptions& options);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Follow(LPARAM position);
  void EndDrag();

  bool dragging_ = false;
  int32_t widthAtPress_ = 0;
  int32_t pressX_ = 0;
  int32_t roomAtPress_ = 0;
};

// ---------------------------------------------------------------------------
// The tree view (treeview_win.cpp)

struct TreeViewOptions {
  Align Alignment = Align::None;
  Rect Bounds{};
  std::optional<ColorValue> Color{};
};

// SysTreeView32 with lines and buttons (but none at the root), the selection
// always shown and no drag and drop. Item texts are UTF-8. An item's value
// is an integer the tree allocates and frees with the item.
class TreeView final : public Window {
 public:
  static constexpr DWORD TreeStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                                     TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;

  static TreeView* CreateIn(Window& parent, const TreeViewOptions& options);

  // An item with its image and selected image `image` (none when negative)
  // and its value, made in one step: per-item messages after the insert
  // make each handle be looked up again, which grows with the tree.
  HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, int32_t image = -1,
                       std::optional<int32_t> value = std::nullopt);
  // -1 when the item cannot be read.
  int32_t ItemImage(HTREEITEM item) const;
  std::optional<int32_t> ItemValue(HTREEITEM item) const;
  // Empty when the item cannot be read.
  std::string ItemText(HTREEITEM item) const;
  HTREEITEM Root() const;
  HTREEITEM FirstVisible() const;
  HTREEITEM Selection() const;
  void Select(HTREEITEM item);
  void DeleteItem(HTREEITEM item);
  int32_t Count() const;
  void SetImageList(HIMAGELIST list);

  // The selection is about to move; it always may.
  std::function<void(TreeView&, HTREEITEM oldItem, HTREEITEM newItem)> SelectionChanging;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::optional<LRESULT> Notified(const NMHDR& header) override;
};

// ---------------------------------------------------------------------------
// Menus (menu_win.cpp)

// A menu bar built from a template of item strings, read in order: "(" gives
// the item before it a drop-down menu holding the items up to the matching
// ")", "-" is a separator, "" ends the template. "&" marks the mnemonic and
// a tab starts the accelerator hint. Items are numbered from 0 in template
// order (separators and brackets get no number); item n has the command
// identifier first + n.
class Menu {
 public:
  using ItemHandler = std::function<void(Menu&, int32_t item)>;

  Menu(UINT firstId, std::span<const std::string> itemTemplate);
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  ~Menu();

  HMENU Handle() const { return menu_; }
  // The window now owns the menu and destroys it with itself.
  void Attached() { attached_ = true; }
  int32_t ItemCount() const { return static_cast<int32_t>(handlers_.size()); }

  void BindItem(int32_t item, ItemHandler handler);
  // Gives an item a keyboard accelerator (FVIRTKEY with FCONTROL, FALT or
  // FSHIFT) and rebuilds the accelerator table from all items.
  void SetAccelerator(int32_t item, BYTE flags, WORD key);
  HACCEL Accelerators() const { return accelerators_; }

  // Runs the event of the item with command identifier `id`; false when the
  // identifier is not one of this menu's.
  bool Dispatch(UINT id);

 private:
  struct Accelerator {
    BYTE Flags = 0;
    WORD Key = 0;
  };
  void RebuildAccelerators();

  HMENU menu_;
  bool attached_ = false;  // owned by a window
  UINT firstId_;
  std::vector<ItemHandler> handlers_;
  std::vector<std::optional<Accelerator>> itemAccelerators_;
  HACCEL accelerators_ = nullptr;
};

// ---------------------------------------------------------------------------
// Image lists (imagelist_win.cpp)

class ImageList {
 public:
  ImageList() = default;
  ImageList(int32_t width, int32_t height, UINT flags, int32_t initial, int32_t grow);
  ImageList(ImageList&& other) noexcept;
  ImageList& operator=(ImageList&& other) noexcept;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList();

  HIMAGELIST Handle() const { return list_; }
  int32_t Count() const;
  // Adds a bitmap resource of the program with `mask` as its transparent
  // colour. The bitmap itself is not kept.
  void AddMaskedResource(const wchar_t* name, COLORREF mask);
  void Draw(HDC dc, int32_t index, int32_t x, int32_t y, UINT style = ILD_NORMAL) const;

 private:
  HIMAGELIST list_ = nullptr;
};

// ---------------------------------------------------------------------------
// The open dialog (opendialog_win.cpp)

// Settings and last result of the system's file-open dialog. Texts are UTF-8;
// the filter is description|pattern pairs separated by "|".
class OpenDialog {
 public:
  static constexpr DWORD DefaultOptions =
      OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;

  explicit OpenDialog(HWND fallbackOwner) : fallbackOwner_(fallbackOwner) {}

  std::string Filter;
  int32_t FilterIndex = 0;  // 1-based, 0 before the first choice
  std::string FileName;     // emptied by a cancel
  std::string InitialDir;
  std::string Title;
  std::string DefaultExt;
  DWORD Options = DefaultOptions;
  HWND Owner = nullptr;

  // Shows the dialog; true when the user chose a file, whose full path is
  // then in FileName.
  bool Execute();

 private:
  HWND fallbackOwner_;  // not owned
};

// ---------------------------------------------------------------------------
// Bitmaps (bitmap_win.cpp)

// Stretches a device-independent bitmap onto (x, y, w, h) of `dc`.
void StretchBitmap(HDC dc, const Bitmap& bitmap, const Rect& destination);

// A device-dependent bitmap, such as a bitmap resource of the program.
class DeviceBitmap {
 public:
  DeviceBitmap() = default;
  DeviceBitmap(const DeviceBitmap&) = delete;
  DeviceBitmap& operator=(const DeviceBitmap&) = delete;
  ~DeviceBitmap();

  // Loads a bitmap resource of the program; false leaves the bitmap empty.
  bool LoadResource(const wchar_t* name);
  bool Empty() const { return !bitmap_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Stretches the whole bitmap onto `destination` of `dc`.
  void Draw(HDC dc, const Rect& destination) const;

 private:
  void ReleaseSource();

  BitmapHandle bitmap_;
  // A memory DC with the bitmap selected, made on the first draw.
  mutable HDC source_ = nullptr;
  mutable HGDIOBJ oldBitmap_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// ---------------------------------------------------------------------------
// The message loop (messageloop_win.cpp)

// Waits for messages and takes every queued one. Keyboard and mouse messages
// are first offered to the application window's and the main window's
// accelerators; a translated message is not dispatched.
class MessageLoop {
 public:
  MessageLoop(ApplicationWindow& application, TopWindow& main) : application_(application), main_(main) {}

  // Shows the main window and runs until WM_QUIT; returns its exit code.
  int Run();
  // Handles every queued message; false once WM_QUIT has been taken.
  bool Drain();

 private:
  bool Translated(MSG& message) const;

  ApplicationWindow& application_;  // not owned
  TopWindow& main_;                 // not owned
  int exitCode_ = 0;
};
