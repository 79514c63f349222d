#pragma once

class QFileDialog;

// The toolkit's own file dialog opens small, with columns that cut sizes
// and dates ("277...tes"): it gets room, and its detail columns fit their
// contents while the name takes the rest.
void fitFileDialog(QFileDialog& dialog);
