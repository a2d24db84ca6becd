#include "ui/Layout.h"

namespace ui {

Layout ComputeLayout(const LayoutMeasures& m, bool expanded) {
  Layout l;
  l.clientHeight = m.plusBottom + m.exitHeight + 20 + (expanded ? m.listHeight + 20 : 0);
  l.windowWidth = m.windowWidth;
  l.windowHeight = l.clientHeight + m.nonClientHeight;
  l.buttonTop = l.clientHeight - m.aboutHeight - 10;
  l.buttonHeight = m.aboutHeight;
  l.showDeletedList = expanded;
  l.expandText = expanded ? L"-" : L"+";
  return l;
}

}  // namespace ui
