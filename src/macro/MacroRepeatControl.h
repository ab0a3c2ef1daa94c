// The repeat mode of the selected macro on the advanced page: a caption and three buttons, Once,
// a count of passes (with a smaller and a larger step beside it) and Loop. The buttons are drawn
// from the page's own pictures, like its other buttons: the skin's push button in its normal
// look, in the look under the pointer, and in the pressed look for the mode in force; their
// texts are white, red under the pointer. A choice changes the macro table at once; Save
// macros writes it to macros.ini.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

namespace veldran {

class MacroTable;

class MacroRepeatControl final : public QWidget {
public:
    // selectedMacro gives the macro the control shows (-1: none, and the control is idle).
    MacroRepeatControl(MacroTable& table, std::function<int()> selectedMacro, QWidget* parent);

    // The page's pictures in its three looks, and the rectangle of one of its push buttons in
    // them: each button of the control is that button, its ends kept and its middle stretched.
    void setLook(const QImage& normal, const QImage& over, const QImage& down, QRect button);
    // Runs handler whenever the pointer goes onto the control.
    void onPointerEntered(std::function<void()> handler) { pointerEntered_ = std::move(handler); }

    // The control's height for a given width.
    static constexpr int kHeight = 80;

    // The parts of the control: the three modes and the two count steps.
    enum class Part { None = -1, Once, Count, Loop, Fewer, More };
    // The part at a point of the control.
    Part partAt(QPoint at) const;
    // What a click on part does to the selected macro's mode.
    void choose(Part part);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect partRect(Part part) const;
    QString partText(Part part, int repeat) const;
    void drawButton(QPainter& painter, const QRect& to, const QImage& look) const;

    MacroTable& table_;
    std::function<int()> selectedMacro_;
    std::function<void()> pointerEntered_;
    std::array<QImage, 3> looks_; // normal, over, down
    QRect source_;
    Part hot_ = Part::None;
    Part pressed_ = Part::None;
    int lastCount_ = 2; // the count the count button chooses when the macro plays once or loops
};

} // namespace veldran
