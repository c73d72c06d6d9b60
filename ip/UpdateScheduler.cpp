#include "UpdateScheduler.h"

#include "MainForm.h"
#include "NumberText.h"
#include "SettingsModel.h"

#include <limits>
#include <utility>

namespace {

// The counters are 16-bit; at their ends they stay put rather than wrap around.
qint16 decremented(qint16 value)
{
    return value == std::numeric_limits<qint16>::min() ? value : static_cast<qint16>(value - 1);
}

qint16 incremented(qint16 value)
{
    return value == std::numeric_limits<qint16>::max() ? value : static_cast<qint16>(value + 1);
}

// An empty box counts as 0, as it does once the box is saved and read back from the settings file.
std::optional<double> boxNumber(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        return 0.0;
    }
    return NumberText::parse(text);
}

} // namespace

UpdateScheduler::UpdateScheduler(SettingsModel& model, MainForm& form, std::function<void()> lookupPhase,
                                 std::function<void()> updateIP, QObject* parent)
    : QObject(parent), m_model(model), m_form(form), m_lookupPhase(std::move(lookupPhase)),
      m_updateIP(std::move(updateIP)), m_tmrUpdate(this)
{
    Q_ASSERT(m_lookupPhase && m_updateIP);
    m_tmrUpdate.setObjectName(QStringLiteral("tmrUpdate"));
    m_tmrUpdate.setInterval(minutePeriod);
    // A coarse timer may drift by seconds a minute; the phases are meant to be a minute and 24 s.
    m_tmrUpdate.setTimerType(Qt::PreciseTimer);
    connect(&m_tmrUpdate, &QTimer::timeout, this, &UpdateScheduler::tick);
}

void UpdateScheduler::switchOn()
{
    if (m_tmrUpdate.isActive()) {
        return;
    }
    // The load sequence sets Interval from the settings file just before it switches the timer on.
    if (!m_intervalInForce) {
        m_intervalInForce = m_model.Interval;
    }
    m_tmrUpdate.start();
}

void UpdateScheduler::tick()
{
    m_model.Interval = decremented(m_model.Interval);
    m_form.setNextText(SettingsModel::nextUpdateText(m_model.Interval));
    // MinuteCounter is 0 only before the first lookup and between the two phases, so those ticks
    // always go on to a phase.
    if (m_model.MinuteCounter != 0 && m_model.Interval > 0) {
        m_model.MinuteCounter = incremented(m_model.MinuteCounter);
        return;
    }
    if (m_model.TakeTurn == 0) {
        lookupPhase();
    } else {
        updatePhase();
    }
}

void UpdateScheduler::ForceUpdate()
{
    m_model.Force = 1;
    updateOutOfTurn();
}

void UpdateScheduler::updateOutOfTurn()
{
    m_form.setLastText(QStringLiteral("Updating ..."));
    m_updateIP();
}

void UpdateScheduler::lookupPhase()
{
    m_lookupPhase();
    m_model.TakeTurn = 1;
    m_tmrUpdate.setInterval(lookupWait);
    m_model.MinuteCounter = 0;
}

void UpdateScheduler::updatePhase()
{
    m_form.setLastText(QStringLiteral("Updating ..."));
    m_updateIP();
    if (const auto minutes = intervalFromBoxes()) {
        m_intervalInForce = *minutes;
    }
    if (m_intervalInForce) {
        m_model.Interval = *m_intervalInForce;
    }
    m_form.setNextText(SettingsModel::nextUpdateText(m_model.Interval));
    m_tmrUpdate.setInterval(minutePeriod);
    m_model.TakeTurn = 0;
    m_model.MinuteCounter = incremented(m_model.MinuteCounter);
}

std::optional<qint16> UpdateScheduler::intervalFromBoxes() const
{
    const auto hours = boxNumber(m_form.hoursText());
    const auto minutes = boxNumber(m_form.minutesText());
    if (!hours || !minutes) {
        return std::nullopt;
    }
    return SettingsModel::intervalMinutes(*hours, *minutes);
}
