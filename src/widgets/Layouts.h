#pragma once

#include <QLayout>
#include <QList>
#include <QSize>
#include <QString>
#include <initializer_list>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
class QvGrid;

// How every window is put together: controls made with their object name
// and caption in one call, and laid out by Qt's layouts so that they follow
// the font and the window's size. Nothing here places a control at a
// position; the layouts do.
namespace Layouts {

// A window's object name (its name in the code) and its title.
void Set_Up(QWidget* window, const char* name, const QString& title);
// A caption in a larger, bold letter (a dialog's heading).
void Heading(QLabel* label, double scale);

// Controls as every window makes them: the object name is the control's
// name in the code, so that tests and the keyboard services find it.
QLabel* Label(QWidget* parent, const char* name, const QString& text, QWidget* buddy = nullptr);
QPushButton* Button(QWidget* parent, const char* name, const QString& text);
QCheckBox* Check(QWidget* parent, const char* name, const QString& text);
QRadioButton* Radio(QWidget* parent, const char* name, const QString& text);
QLineEdit* Box(QWidget* parent, const char* name, int maxLength = 0, Qt::Alignment alignment = Qt::AlignLeft);
// A drop-down that stays as wide as its longest item, also when it is
// filled again after the window has opened.
QComboBox* Combo(QWidget* parent, const char* name);
QGroupBox* Group(QWidget* parent, const char* name, const QString& title);
QvGrid* Grid(QWidget* parent, const char* name);
// A box that shows a short value (a date, an amount, a number) is as wide
// as its widest text, in the window's font, and keeps that width.
void FitText(QLineEdit* box, const QString& widest);
void FitDate(QLineEdit* dateBox);
void FitAmount(QLineEdit* amountBox);

// Label-and-box pairs, labels in one column, boxes taking the width.
QFormLayout* Form(QWidget* on = nullptr);
// A row of controls at their natural size; a nullptr among them is the
// empty room that takes what the controls leave. A button row keeps its
// buttons at the right, as in every dialog.
QHBoxLayout* Row(std::initializer_list<QWidget*> controls);
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);
QVBoxLayout* Column(std::initializer_list<QWidget*> controls);
// A caption and the control it names, the control taking the width.
QHBoxLayout* Pair(QWidget* caption, QWidget* control);
// City, state and zip code on one line, the state and zip as wide as
// their longest values.
QHBoxLayout* City_State_Zip(QLineEdit* city, QLineEdit* state, QLineEdit* zip);
// The window's own layout, top to bottom.
QVBoxLayout* Page(QWidget* window);
// The usual dialog: its boxes at the top, free room below them and the
// buttons at the bottom right.
QVBoxLayout* Form_Page(QWidget* window, QLayout* boxes, std::initializer_list<QWidget*> buttons);

// The size a window opens at: the size it was designed for, in twips,
// widened and heightened where its contents need more at today's font.
QSize Opening_Size(QWidget* window, int widthTwips, int heightTwips);
// The least size the window's layout allows, measured afresh.
QSize Least_Size(QWidget* window);
void Open_At(QWidget* window, int widthTwips, int heightTwips);
// A dialog whose size the user does not change: its designed size, or the
// size its contents need when that is more.
void Fix_At(QWidget* dialog, int widthTwips, int heightTwips);

// A row of controls that wraps onto further rows when the window is too
// narrow for one, so that every control stays in reach. Items keep their
// natural size; a group of controls that belong together (a label and its
// box) is added as one layout and never split.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int hSpacing = -1, int vSpacing = -1);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    void addLayout(QLayout* layout);
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    int Arrange(const QRect& rect, bool place) const;
    int Spacing(bool horizontal) const;

    QList<QLayoutItem*> m_items;
    int m_hSpace, m_vSpace;
};

} // namespace Layouts
