#pragma once
// The 18 x 15 picture both panels hand to the about box (kept in their picABoutBoxIcon).

#include <QPixmap>

namespace zan {
QPixmap aboutBoxIcon();
}  // namespace zan
