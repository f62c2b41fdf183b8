#pragma once
// The controls of the Single analysis window, laid out as its template gives
// them in dialog units.
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace korvel {

class UpDownControl;

inline constexpr int kAnalysisReturnBoxes = 10;

struct AnalysisControls {
    QComboBox* asset = nullptr;                              // 1031: "First", "Second"
    std::array<QLineEdit*, kAnalysisReturnBoxes> returns{};  // 1021 to 1030
    QLineEdit* periods = nullptr;                            // 1050, buddy of periodsSpin
    UpDownControl* periodsSpin = nullptr;                    // 1036
    QLineEdit* firstPart = nullptr;                          // 1051, buddy of firstPartSpin
    UpDownControl* firstPartSpin = nullptr;                  // 1044
    QLineEdit* secondPart = nullptr;                         // 1046
    QLineEdit* averageReturn = nullptr;                      // 1047
    QLineEdit* standardDeviation = nullptr;                  // 1048
    QLineEdit* correlation = nullptr;                        // 1049
    QPushButton* calculate = nullptr;                        // 1033
    QPushButton* clear = nullptr;                            // 1037
    QPushButton* newData = nullptr;                          // 1040
    QPushButton* ok = nullptr;                               // 1034
};

// Creates every control of the template as a child of dialog, with labels,
// tooltips and tab order, and sizes the dialog. The up-downs get their buddies
// but no range yet; "Ca&lculate" starts disabled; the boxes start empty.
AnalysisControls BuildAnalysisTemplate(QWidget* dialog);

}  // namespace korvel
