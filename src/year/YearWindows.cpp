#include "YearWindows.h"

#include "core/DbError.h"

#include "maintenance/PledgeGrid.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <QProgressBar>
#include <cmath>
#include <limits>

using namespace WindowServices;

namespace YearWindows {

namespace {
constexpr qint64 kLargest = std::numeric_limits<int>::max();

// Leaving the box reformats it as a whole number.
class WholeNumberOnLeave : public QObject {
public:
    WholeNumberOnLeave(QLineEdit* box) : QObject(box), m_box(box) { box->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusOut)
            m_box->setText(modGlobal::WholeNumberText(m_box->text()));
        return false;
    }

private:
    QLineEdit* m_box;
};
} // namespace

QLayout* NumberChoice::Create(QWidget* parent, int index, const QString& caption)
{
    m_index = index;
    const QString i = QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
    chkAssign = Layouts::Check(parent, "chkAssign", caption);
    chkAssign->setObjectName(QStringLiteral("chkAssign") + i);
    lblBegin = Layouts::Label(parent, "lblBegin", QStringLiteral("Beginning with"));
    lblBegin->setObjectName(QStringLiteral("lblBegin") + i);
    txtBegin = Layouts::Box(parent, "txtBegin");
    txtBegin->setText(index == 0 ? QStringLiteral("1") : QStringLiteral("10001"));
    txtBegin->setObjectName(QStringLiteral("txtBegin") + i);
    Layouts::FitText(txtBegin, QStringLiteral("2,147,483,647"));
    lblBegin->setBuddy(txtBegin);
    lblRange = Layouts::Label(parent, "lblRange", QString());
    lblRange->setObjectName(QStringLiteral("lblRange") + i);
    // The box and the preview sit under the check box they belong to.
    auto* details = new QVBoxLayout;
    details->setContentsMargins(parent->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6, 0, 0, 0);
    details->addLayout(Layouts::Row({lblBegin, txtBegin, nullptr}));
    details->addWidget(lblRange);
    auto* choice = new QVBoxLayout;
    choice->addWidget(chkAssign);
    choice->addLayout(details);
    new WholeNumberOnLeave(txtBegin);

    auto follow = [this](bool on) {
        lblBegin->setEnabled(on);
        txtBegin->setEnabled(on);
        lblRange->setEnabled(on);
    };
    follow(false);
    QObject::connect(chkAssign, &QCheckBox::toggled, chkAssign, follow);
    QObject::connect(txtBegin, &QLineEdit::textChanged, txtBegin, [this] { Update_Preview(); });
    return choice;
}

void NumberChoice::Count_Again()
{
    m_count = modGlobal::Contributors_To_Number(Envelope());
    Update_Preview();
}

qint64 NumberChoice::FirstValue() const
{
    return std::llround(modGlobal::AmountValue(txtBegin->text()));
}

void NumberChoice::Update_Preview()
{
    const qint64 first = FirstValue();
    if (m_count > 0 && first < 1)
        lblRange->setText(QStringLiteral("Numbers begin with 1 or more"));
    else if (m_count > 0 && first + m_count - 1 > kLargest)
        lblRange->setText(QStringLiteral("The numbers would go beyond ") + QString::number(kLargest));
    else
        lblRange->setText(modGlobal::Numbers_Preview(m_count, int(first)));
    frmChild::Grow_Window_Of(lblRange);
}

void NumberChoice::Reformat()
{
    txtBegin->setText(modGlobal::WholeNumberText(txtBegin->text()));
}

bool NumberChoice::Checked() const
{
    return chkAssign->isChecked();
}

int NumberChoice::First() const
{
    return int(std::clamp<qint64>(FirstValue(), 0, kLargest));
}

bool NumberChoice::Valid(const QString& title) const
{
    const qint64 first = FirstValue();
    const int count = modGlobal::Contributors_To_Number(Envelope());
    if (first >= 1 && first + std::max(count, 1) - 1 <= kLargest)
        return true;
    // Number 0 stands for "no envelope": numbering from it would leave the
    // first contributor without one.
    Messages::Show(QStringLiteral("Please begin the ") + (Envelope() ? QStringLiteral("envelope") : QStringLiteral("auxiliary"))
                       + QStringLiteral(" numbers with a number from 1 to ")
                       + QString::number(kLargest - std::max(count, 1) + 1) + QLatin1Char('.'),
                   title, Messages::Icon::Information);
    txtBegin->setFocus();
    return false;
}

ProgressWindow::ProgressWindow(const QString& title) : m_title(title) {}

ProgressWindow::~ProgressWindow() = default;

modGlobal::Progress ProgressWindow::Sink()
{
    auto repaint = [this](bool always) {
        // Painting every one of thousands of steps would cost more than the work.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (!always && now - m_lastPaint < 40)
            return;
        m_lastPaint = now;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    return {[this, repaint](int count, const QString& description) {
                if (!m_window)
                    m_window = std::make_unique<frmProgess>();
                m_window->setWindowTitle(m_title);
                m_window->pbProgress->setMaximum(std::max(count, 0));
                m_window->pbProgress->setValue(0);
                m_window->lblDescription->setText(description + QStringLiteral("..."));
                CentreInMainWindow(m_window.get());
                m_window->show();
                repaint(true);
            },
            [this, repaint](int step) {
                if (!m_window)
                    return;
                QProgressBar* bar = m_window->pbProgress;
                bar->setValue(std::min(bar->value() + step, bar->maximum()));
                repaint(false);
            }};
}

void Fill_Fund_List(QComboBox* list)
{
    const QVariant before = list->currentData();
    const PledgeGrid::FundList funds = PledgeGrid::Fund_List(modGlobal::ProcessingYear);
    list->clear();
    for (const PledgeGrid::FundChoice& item : funds.items)
        list->addItem(item.text, item.fundID);
    const int kept = before.isValid() ? list->findData(before) : -1;
    list->setCurrentIndex(kept >= 0 ? kept : funds.selected);
}

void Show_Changed_Numbers(int fundID, const QList<modGlobal::NumberChange>& changes)
{
    if (changes.isEmpty())
        return;
    Windows::Open_New(QStringLiteral("frmRptNumbers"),
                      {{QStringLiteral("FundID"), fundID}, {QStringLiteral("Changes"), QVariant::fromValue(changes)}});
}

void Show_Failure(const QString& engineText)
{
    Messages::Show(engineText + QStringLiteral("\r\n\r\nNothing was changed."), {}, Messages::Icon::Critical);
}

bool Choices_Valid(NumberChoice (&choices)[2], const QString& title)
{
    try {
        for (NumberChoice& c : choices) {
            c.Reformat();
            if (c.Checked() && !c.Valid(title))
                return false;
        }
    } catch (const DbError& e) {
        Show_Failure(e.Message());
        return false;
    }
    return true;
}

} // namespace YearWindows
