#pragma once

#include <QFont>

namespace torvin {

// "ＭＳ Ｐゴシック" 12 px, or the metric-compatible IPA face, or Noto Sans CJK JP.
QFont UiFont();
// "ＭＳ ゴシック" 19 px bold (fixed pitch), with the same kind of fallbacks.
QFont TitleFont();

}  // namespace torvin
