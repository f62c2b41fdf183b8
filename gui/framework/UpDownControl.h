#pragma once
// An up-down control with a buddy text box: the pair of small arrow buttons
// that sits on the buddy's right edge, writes its position into the buddy as
// text, and takes its position back from the number in the buddy.
#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

namespace korvel {

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    // The buddy receives the position as text; with arrow keys on, Up and Down
    // pressed in the buddy step the position.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* GetBuddy() const { return m_buddy; }
    void SetArrowKeys(bool enabled) { m_arrowKeys = enabled; }
    void SetThousandsSeparator(bool enabled) { m_thousands = enabled; }

    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }

    // Writes pos, clamped to the range, into the buddy. The buddy's text-changed
    // notification runs inside this call when the text differs; an unchanged
    // text raises none.
    void SetPos(int pos);
    // The position taken from the buddy's number, clamped to the range.
    int GetPos() const;
    // The buddy's number as it stands, unclamped; empty when it is no number.
    std::optional<int> PosFromBuddy() const;

    // The text the control writes for a position.
    QString FormatPos(int pos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int delta);

    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
    bool m_arrowKeys = true;
    bool m_thousands = true;
};

}  // namespace korvel
