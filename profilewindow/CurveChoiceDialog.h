// The curves an alignment file holds (two or more), for the user to choose the one the main
// window takes (File ▸ Open alignment…): a list, lstCurves, of each curve's
// alignment, chainage at start, length and both gradients in the locale's
// numbers. A curve Pendrio cannot plan is greyed out and cannot be chosen;
// its last column and tooltip say why. The first curve that can be taken is
// chosen to begin with; arrows move, Enter or a double click takes the curve,
// Escape takes none.
#pragma once

#include "import/AlignmentImport.h"

#include <QDialog>

class QDialogButtonBox;
class QTreeWidget;

namespace pendrio {

class CurveChoiceDialog : public QDialog {
    Q_OBJECT

public:
    explicit CurveChoiceDialog(const QList<CurveInFile>& curves, QWidget* parent = nullptr);

    // The chosen curve's index in the list given, or -1 while none is.
    int chosenIndex() const;

private:
    void fill(const QList<CurveInFile>& curves);
    void takeIfChosen();

    QTreeWidget* list_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace pendrio
