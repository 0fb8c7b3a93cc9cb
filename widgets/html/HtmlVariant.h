#pragma once

namespace html {

// The engine and its text operations serve four users; the label behaves as the panel.
enum class HTMLVariant { Grid, Tree, Panel };

}  // namespace html
