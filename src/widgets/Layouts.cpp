#include "Layouts.h"

#include "QvGrid.h"
#include "WindowServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <algorithm>

namespace Layouts {

namespace {
template <class W>
W* Named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}
} // namespace

void Set_Up(QWidget* window, const char* name, const QString& title)
{
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(title);
}

void Heading(QLabel* label, double scale)
{
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() * scale);
    big.setBold(true);
    label->setFont(big);
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QWidget* buddy)
{
    auto* l = Named(new QLabel(text, parent), name);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text)
{
    return Named(new QPushButton(text, parent), name);
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text)
{
    return Named(new QCheckBox(text, parent), name);
}

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text)
{
    return Named(new QRadioButton(text, parent), name);
}

QLineEdit* Box(QWidget* parent, const char* name, int maxLength, Qt::Alignment alignment)
{
    auto* e = Named(new QLineEdit(parent), name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->setAlignment(alignment);
    return e;
}

namespace {
// A drop-down's own least size is what it had when it was empty; this one
// never lets a layout make it narrower than its longest item.
class FittingCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    QSize minimumSizeHint() const override { return sizeHint().expandedTo(QComboBox::minimumSizeHint()); }
};
} // namespace

QComboBox* Combo(QWidget* parent, const char* name)
{
    auto* c = Named<QComboBox>(new FittingCombo(parent), name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QGroupBox* Group(QWidget* parent, const char* name, const QString& title)
{
    return Named(new QGroupBox(title, parent), name);
}

void FitText(QLineEdit* box, const QString& widest)
{
    // The frame and inner margins the style draws around the text, as a
    // line edit measures its own size hint.
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QMargins m = box->textMargins();
    const int text = box->fontMetrics().horizontalAdvance(widest) + m.left() + m.right() + 4 + 2 * 2;
    const QSize size = box->style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                      QSize(text, box->sizeHint().height()), box);
    box->setMinimumWidth(size.width());
    box->setSizePolicy(QSizePolicy::Minimum, box->sizePolicy().verticalPolicy());
}

void FitDate(QLineEdit* dateBox)
{
    // The widest date the short form writes, and room for the calendar
    // button the box draws at its right.
    const int button = dateBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    FitText(dateBox, QStringLiteral("12/28/2088"));
    dateBox->setMinimumWidth(dateBox->minimumWidth() + button);
}

void FitAmount(QLineEdit* amountBox)
{
    FitText(amountBox, QStringLiteral("($999,999,999.99)"));
}

QvGrid* Grid(QWidget* parent, const char* name)
{
    return Named(new QvGrid(parent), name);
}

QFormLayout* Form(QWidget* on)
{
    auto* form = new QFormLayout(on);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> controls)
{
    auto* row = new QHBoxLayout;
    for (QWidget* w : controls) {
        if (w)
            row->addWidget(w);
        else
            row->addStretch(1);
    }
    return row;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons)
{
    QHBoxLayout* row = Row(buttons);
    row->insertStretch(0, 1);
    return row;
}

QVBoxLayout* Column(std::initializer_list<QWidget*> controls)
{
    auto* column = new QVBoxLayout;
    for (QWidget* w : controls)
        column->addWidget(w);
    return column;
}

QHBoxLayout* Pair(QWidget* caption, QWidget* control)
{
    auto* row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(control, 1);
    return row;
}

QHBoxLayout* City_State_Zip(QLineEdit* city, QLineEdit* state, QLineEdit* zip)
{
    FitText(state, QStringLiteral("WW"));
    FitText(zip, QStringLiteral("00000-0000"));
    auto* row = new QHBoxLayout;
    row->addWidget(city, 4);
    row->addWidget(state, 1);
    row->addWidget(zip, 2);
    return row;
}

QVBoxLayout* Page(QWidget* window)
{
    return new QVBoxLayout(window);
}

QVBoxLayout* Form_Page(QWidget* window, QLayout* boxes, std::initializer_list<QWidget*> buttons)
{
    QVBoxLayout* page = Page(window);
    page->addLayout(boxes);
    page->addStretch(1);
    page->addLayout(ButtonRow(buttons));
    return page;
}

QSize Least_Size(QWidget* window)
{
    // Controls changed before the window was first shown (lists filled,
    // captions set) do not tell the layouts: the sizes the layouts keep
    // are thrown away and measured again, the innermost first, so that
    // each box passes its new size on to the one that holds it.
    QList<QWidget*> boxes = window->findChildren<QWidget*>();
    auto depth = [window](const QWidget* w) {
        int d = 0;
        for (; w && w != window; w = w->parentWidget())
            ++d;
        return d;
    };
    std::stable_sort(boxes.begin(), boxes.end(), [&](QWidget* a, QWidget* b) { return depth(a) > depth(b); });
    boxes.append(window);
    for (QWidget* w : boxes) {
        if (QLayout* layout = w->layout()) {
            layout->invalidate();
            layout->activate();
        }
        // Boxes that place their parts themselves (a tab control) too.
        w->updateGeometry();
    }
    return window->minimumSizeHint();
}

QSize Opening_Size(QWidget* window, int widthTwips, int heightTwips)
{
    return WindowServices::TwipsSize(widthTwips, heightTwips).expandedTo(Least_Size(window));
}

void Open_At(QWidget* window, int widthTwips, int heightTwips)
{
    window->resize(Opening_Size(window, widthTwips, heightTwips));
}

void Fix_At(QWidget* dialog, int widthTwips, int heightTwips)
{
    dialog->setFixedSize(Opening_Size(dialog, widthTwips, heightTwips));
}

FlowLayout::FlowLayout(QWidget* parent, int hSpacing, int vSpacing)
    : QLayout(parent), m_hSpace(hSpacing), m_vSpace(vSpacing)
{
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

void FlowLayout::addLayout(QLayout* layout)
{
    addChildLayout(layout);
    addItem(layout);
}

int FlowLayout::count() const
{
    return int(m_items.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return {};
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const
{
    // Everything on one row.
    int width = 0, height = 0, n = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint();
        width += hint.width() + (n++ ? Spacing(true) : 0);
        height = std::max(height, hint.height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Spacing(bool horizontal) const
{
    const int own = horizontal ? m_hSpace : m_vSpace;
    if (own >= 0)
        return own;
    if (spacing() >= 0)
        return spacing();
    QWidget* w = parentWidget();
    if (!w)
        return spacing() >= 0 ? spacing() : 6;
    const QStyle::PixelMetric metric = horizontal ? QStyle::PM_LayoutHorizontalSpacing : QStyle::PM_LayoutVerticalSpacing;
    const int fromStyle = w->style()->pixelMetric(metric, nullptr, w);
    return fromStyle >= 0 ? fromStyle : 6;
}

int FlowLayout::Arrange(const QRect& rect, bool place) const
{
    const QMargins m = contentsMargins();
    const QRect area = rect.adjusted(m.left(), m.top(), -m.right(), -m.bottom());
    int x = area.x(), y = area.y(), lineHeight = 0;
    // Items of one line share its height and are centred in it.
    QList<QPair<QLayoutItem*, QRect>> line;
    auto finishLine = [&] {
        if (place)
            for (auto& [item, r] : line)
                item->setGeometry(QRect(QPoint(r.x(), r.y() + (lineHeight - r.height()) / 2), r.size()));
        line.clear();
    };
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint().boundedTo(QSize(std::max(area.width(), item->minimumSize().width()), QWIDGETSIZE_MAX));
        if (x > area.x() && x + hint.width() > area.right() + 1) {
            finishLine();
            x = area.x();
            y += lineHeight + Spacing(false);
            lineHeight = 0;
        }
        line.append({item, QRect(QPoint(x, y), hint)});
        x += hint.width() + Spacing(true);
        lineHeight = std::max(lineHeight, hint.height());
    }
    finishLine();
    return y + lineHeight - rect.y() + m.bottom();
}

} // namespace Layouts
