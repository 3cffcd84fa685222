#include "winlayer/winlayer_win.h"

Panel* Panel::CreateIn(Window& parent, const PanelOptions& options) {
  Panel& panel = parent.AddChild(std::make_unique<Panel>());
  if (options.Color) panel.SetColor(*options.Color);
  panel.SetPlacement(options.Alignment, options.Bounds, options.Margin);
  if (!panel.CreateHandle({.ClassName = L"Static",
                           .Style = StaticControlStyle | (options.RaisedEdge ? WS_DLGFRAME : 0),
                           .Bounds = options.Bounds,
                           .Parent = parent.Handle()})) {
    parent.DropChild(panel);
    return nullptr;
  }
  parent.Relayout();
  return &panel;
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto painted = PaintOpaque(message)) return *painted;
  return Window::HandleMessage(message, wParam, lParam);
}
