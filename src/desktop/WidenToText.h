#pragma once

class QWidget;

namespace tt {

// Layouts measured in dialog units fit the text in the font they were drawn for;
// another font can need a little more room. Widens `control` to its text's width
// when that is larger, never beyond its parent: centred texts grow on both sides,
// others to the right.
void WidenToText(QWidget* control, bool centred = false);

}  // namespace tt
