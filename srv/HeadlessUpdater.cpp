#include "HeadlessUpdater.h"

#include "AccountFile.h"
#include "AddressText.h"
#include "Clock.h"
#include "ConfFile.h"
#include "KeepAlivePing.h"
#include "MachineAddress.h"
#include "NetworkChangeUpdate.h"
#include "RouterAddressLookup.h"
#include "SettingsLoad.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"
#include "ValidationAnswer.h"
#include "VersionCheck.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// What went wrong, for the log. A server's own page is never quoted: it may echo the request,
// password and all; the program's error pages name no URL.
QString faultReason(const QString& text, PageRequester::Outcome outcome)
{
    switch (outcome) {
    case PageRequester::Outcome::Failed:
        return text.trimmed().section(u"\r\n"_s, -1);
    case PageRequester::Outcome::ServerError:
        return u"the service answered with a server error"_s;
    case PageRequester::Outcome::ClientError:
        return u"the service answered with an error page"_s;
    case PageRequester::Outcome::Answered:
        break;
    }
    return u"the answer tells nothing; a network sign-in page may be in the way"_s;
}

} // namespace

HeadlessUpdater::HeadlessUpdater(const Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_urls(services.serviceHost), m_log(services.clock),
      m_desktop(m_log, [this](Desktop::Ending ending, const QString& reason) { onEnding(ending, reason); })
{
    // Standard output is the log: nothing of it is kept.
    m_log.setKeepsText(false);
    connect(&m_log, &EventLog::appended, this, &HeadlessUpdater::journal);
    m_wbAccount = m_services.makeRequester(u"wb_account"_s, this);
    m_wbExternal = m_services.makeRequester(u"wb_external"_s, this);
    m_wbUpdates = m_services.makeRequester(u"wb_updates"_s, this);
    m_wbKeepalive = m_services.makeRequester(u"wb_keepalive"_s, this);
    m_wbSetip = m_services.makeRequester(u"wb_setip"_s, this);

    const Clock& clock = services.clock;
    m_lookup = std::make_unique<RouterAddressLookup>(*m_wbExternal, m_form, m_log, clock);
    m_updateExchange = std::make_unique<UpdateExchange>(*m_wbSetip, m_model, m_form, m_log, clock);
    m_versionCheck = std::make_unique<VersionCheck>(*m_wbUpdates, m_model, m_log, m_desktop, clock, m_urls);
    m_settingsLoad = std::make_unique<SettingsLoad>(m_model, *m_versionCheck, m_log, clock);
    m_scheduler = std::make_unique<UpdateScheduler>(
        m_model, m_form,
        [this] {
            m_lookup->GetRemoteIP();
            m_form.setMachineText(m_services.machine.localAddress());
        },
        [this] {
            m_updateExchange->UpdateIP();
            // After the phase has put the next countdown in force.
            QTimer::singleShot(0, this, &HeadlessUpdater::reportRunning);
        });
    m_networkChange = std::make_unique<NetworkChangeUpdate>(NetworkChangeUpdate::Parts{
        services.watch, *m_lookup, *m_scheduler, m_model, m_form, services.machine, m_log, clock});
    m_keepAlive = std::make_unique<KeepAlivePing>(*m_wbKeepalive, m_model, m_log, clock, services.keepAliveSite,
                                                  [this] { return m_form.pingText; });
    m_tmrPing.setInterval(60000);
    connect(&m_tmrPing, &QTimer::timeout, m_keepAlive.get(), &KeepAlivePing::tick);

    m_validationRetry = std::make_unique<RetryPolicy>(m_log, u"Account validation"_s, [this] { validate(); });
    m_forcedRetry = std::make_unique<RetryPolicy>(m_log, u"Forced update"_s, [this] {
        // An outage is logged once when it starts and once when it ends, not at every attempt.
        m_updateExchange->setQuiet(true);
        forceUpdateWithAddress();
    });
    m_versionRetry =
        std::make_unique<RetryPolicy>(m_log, u"Version check"_s, [this] { m_versionCheck->requestVersionPage(); });
    // The phase of the cycle that gives a lookup time to deliver the address an update sends.
    m_forcedAfterLookup.setSingleShot(true);
    m_forcedAfterLookup.setInterval(UpdateScheduler::lookupWait);
    connect(&m_forcedAfterLookup, &QTimer::timeout, this, &HeadlessUpdater::sendForcedUpdate);
    connect(m_lookup.get(), &RouterAddressLookup::addressFound, this, [this] {
        if (m_forcedAfterLookup.isActive()) {
            m_forcedAfterLookup.stop();
            sendForcedUpdate();
        }
    });

    connect(m_versionCheck.get(), &VersionCheck::reloadRequested, this, [this] {
        m_versionRetry->answered();
        load();
    });
    // Settings were read when loaded; an account file spoilt since is mended by a reload.
    connect(m_updateExchange.get(), &UpdateExchange::wizardNeeded, this,
            [this] { m_log.appendMessage(settingsProblem() + u"; nothing was sent."_s, EventLog::Level::Warning); });
    connect(m_wbAccount, &PageRequester::DocumentComplete, this, &HeadlessUpdater::onValidation);
    connect(m_updateExchange.get(), &UpdateExchange::requestEnded, this, &HeadlessUpdater::onUpdateEnded);
    for (RetryPolicy* retry : {m_validationRetry.get(), m_forcedRetry.get(), m_versionRetry.get()}) {
        connect(retry, &RetryPolicy::failedWith, this,
                [this](const QString& line) { emit statusChanged(u"Waiting for the network: "_s + line); });
    }
}

HeadlessUpdater::~HeadlessUpdater() = default;

void HeadlessUpdater::start()
{
    m_model.ConfigPath = m_services.settings.path();
    if (const QString& problem = m_services.settings.problem(); !problem.isEmpty()) {
        end(ExitStatus::SettingsUnreadable, problem + u'.');
        return;
    }
    load();
}

void HeadlessUpdater::reload()
{
    load();
}

QString HeadlessUpdater::settingsProblem() const
{
    const QString& path = m_model.ConfigPath;
    if (!ConfFile::read(path)) {
        return u"Cannot read the settings file "_s + path + ConfFile::canonicalName();
    }
    const auto hosts = AccountFile::readHosts(path);
    if (!AccountFile::read(path) || !hosts) {
        return u"Cannot read the settings file "_s + path + AccountFile::canonicalName();
    }
    return hosts->isEmpty() ? u"The settings file "_s + path + AccountFile::canonicalName() + u" names no host"_s
                            : QString();
}

void HeadlessUpdater::load()
{
    if (m_stage == Stage::Ended) {
        return;
    }
    // The files only the window program's wizard writes are looked at first: without them no
    // answer of the service could help, and a fresh directory says so at once, network or not.
    if (const QString problem = settingsProblem(); !problem.isEmpty()) {
        if (m_stage == Stage::Starting) {
            // Beside the program the window program must run from there too; in the user's
            // directory any start of it writes the same files.
            const bool besideProgram = m_services.settings.location() == SettingsDirectory::Location::Application;
            const QString where = besideProgram ? u" from this directory"_s : QString();
            end(ExitStatus::SettingsUnreadable, problem + u"; run quorvex"_s + where + u" once to set it up."_s);
        } else {
            // A slip while editing must not stop the updates for good: the next reload reads again.
            m_log.appendMessage(problem + u"; going on with the settings read before."_s, EventLog::Level::Warning);
        }
        return;
    }
    if (m_stage == Stage::Starting) {
        emit ready();
    }
    if (!m_settingsLoad->readUpdateFile()) {
        // Without the update file the version page has been asked for; its answer loads again.
        return;
    }
    const auto settings = m_settingsLoad->readGeneralSettings();
    const auto account = AccountFile::read(m_model.ConfigPath);
    const auto hosts = AccountFile::readHosts(m_model.ConfigPath);
    if (!settings || !account || !hosts) {
        return; // changed again since it was checked a moment ago; the next reload reads it
    }
    m_form.hours = settings->hoursText;
    m_form.minutes = settings->minutesText;
    m_form.useRouterAddress = settings->useRouterAddress;
    m_form.locatorList = settings->locators;
    m_form.pingText = settings->pingMinutes == 0 ? u"5"_s : QString::number(settings->pingMinutes);
    m_form.user = account->userName;
    m_form.pass = account->password;

    m_settingsLoad->checkVersion(settings->checkVersionAtStartUp);
    m_log.appendEntry(u" - Loaded general settings."_s);
    const Selection selection{*hosts, settings->useRouterAddress, settings->locators};
    const bool changed = selection != m_selection;
    m_selection = selection;
    m_form.setMachineText(m_services.machine.localAddress());
    m_lookup->GetRemoteIP();
    if (m_model.PingInterval > 0 && !m_tmrPing.isActive()) {
        m_tmrPing.start();
    }

    if (m_stage == Stage::Starting) {
        m_log.appendEntry(u" - Checking account credentials."_s);
        setStage(Stage::CheckingAccount);
        validate();
    } else if (changed && m_stage == Stage::Running) {
        setStage(Stage::SendingForcedUpdate);
        afterLookup();
    } else if (changed && m_stage == Stage::AwaitingForcedAnswer) {
        // The forced update in flight carries the old selection; one not sent yet reads the new.
        m_forceAgain = true;
    }
}

void HeadlessUpdater::validate()
{
    m_wbAccount->Navigate(m_urls.validation(m_form.user, m_form.pass));
}

void HeadlessUpdater::onValidation(const QString& url, const QString& text, PageRequester::Outcome outcome)
{
    if (text.isEmpty() || m_stage != Stage::CheckingAccount) {
        return;
    }
    // Only the service's own page can refuse a login: an error status, or a page with no code
    // (a proxy's block page, a sign-in page), from whatever stands in the way, is a fault to wait out.
    auto verdict = outcome == PageRequester::Outcome::Answered ? ValidationAnswer::classify(url, text)
                                                               : ValidationAnswer::Verdict::Undetermined;
    if (verdict == ValidationAnswer::Verdict::Invalid && !ValidationAnswer::isRefusal(url, text)) {
        verdict = ValidationAnswer::Verdict::Undetermined;
    }
    switch (verdict) {
    case ValidationAnswer::Verdict::Valid:
        m_validationRetry->answered();
        m_log.appendMessage(u"Verified account credentials"_s);
        setStage(Stage::SendingForcedUpdate);
        forceUpdateWithAddress();
        return;
    case ValidationAnswer::Verdict::Invalid:
        end(ExitStatus::LoginRefused, u"The service refused the login of account \""_s + m_form.user +
                                          u"\"; correct its name or password in quorvex, then start this again."_s);
        return;
    case ValidationAnswer::Verdict::Undetermined:
        m_validationRetry->failed(faultReason(text, outcome));
        return;
    }
}

void HeadlessUpdater::forceUpdateWithAddress()
{
    // Started before the network was up, the load's lookup found nothing: an update sent now
    // would carry no address.
    if (m_form.useRouterAddress && AddressText::ExtractIP(m_form.remoteText()).isEmpty()) {
        m_lookup->GetRemoteIP();
        afterLookup();
        return;
    }
    sendForcedUpdate();
}

void HeadlessUpdater::afterLookup()
{
    m_form.setMachineText(m_services.machine.localAddress());
    m_forcedAfterLookup.start();
}

void HeadlessUpdater::sendForcedUpdate()
{
    m_scheduler->ForceUpdate();
    if (m_stage == Stage::Ended) {
        return;
    }
    if (m_updateExchange->lastCallSent()) {
        setStage(Stage::AwaitingForcedAnswer);
    } else {
        // Nothing sent (no gateway yet, or a wait the gateway asked for): the response says why.
        m_forcedRetry->failed(m_form.responseText(), gatewayWait());
    }
}

void HeadlessUpdater::onUpdateEnded(bool answered)
{
    if (m_stage != Stage::AwaitingForcedAnswer) {
        return;
    }
    if (!answered) {
        // The retry reads the account file afresh, so it carries any change made meanwhile.
        m_forceAgain = false;
        setStage(Stage::SendingForcedUpdate);
        const int status = m_wbSetip->reply().status;
        m_forcedRetry->failed(status == 0 ? faultReason(m_wbSetip->pageText(), PageRequester::Outcome::Failed)
                                          : u"the update gateway answered with status "_s + QString::number(status),
                              gatewayWait());
        return;
    }
    m_updateExchange->setQuiet(false);
    m_forcedRetry->answered();
    m_scheduler->switchOn();
    setStage(Stage::Running);
    if (std::exchange(m_forceAgain, false)) {
        setStage(Stage::SendingForcedUpdate);
        forceUpdateWithAddress();
    }
}

std::chrono::milliseconds HeadlessUpdater::gatewayWait() const
{
    const QDateTime& until = m_updateExchange->notBefore();
    return until.isValid() ? std::chrono::milliseconds(m_services.clock.now().msecsTo(until))
                           : std::chrono::milliseconds{};
}

void HeadlessUpdater::reportRunning()
{
    if (m_stage != Stage::Running) {
        return;
    }
    if (m_model.LastIP != m_lastReported) {
        m_lastReported = m_model.LastIP;
        m_sentAt = m_services.clock.TimeText();
    }
    const QString sent =
        m_model.LastIP.isEmpty() ? u"no address sent yet"_s : m_model.LastIP + u" sent at "_s + m_sentAt;
    const QTime next = m_services.clock.now().time().addSecs(qint64{60} * m_model.Interval);
    emit statusChanged(u"Running; "_s + sent + u"; next lookup at "_s + m_services.clock.TimeText(next));
}

void HeadlessUpdater::onEnding(Desktop::Ending /*ending*/, const QString& reason)
{
    // Only the version check ends the window program here, when its page cannot be read or
    // recorded (a network fault, a sign-in page, a full disk); each may clear by itself, and the
    // hosts are kept up to date meanwhile, so the page is asked for again.
    m_versionRetry->failed(reason);
}

void HeadlessUpdater::end(ExitStatus status, const QString& message)
{
    if (m_stage == Stage::Ended) {
        return;
    }
    m_log.appendMessage(message, EventLog::Level::Error);
    setStage(Stage::Ended);
    emit ended(status);
}

void HeadlessUpdater::setStage(Stage stage)
{
    if (stage == m_stage) {
        return;
    }
    const Stage left = m_stage;
    m_stage = stage;
    // A change of the network is followed only in the cycle: until then the forced update, which
    // reads the address afresh, is still to come.
    m_networkChange->setActive(stage == Stage::Running);
    // The timers the stage left behind owned.
    if (left == Stage::SendingForcedUpdate && stage != Stage::AwaitingForcedAnswer) {
        m_forcedAfterLookup.stop();
    }
    switch (stage) {
    case Stage::Starting:
        break;
    case Stage::CheckingAccount:
        emit statusChanged(u"Checking the account"_s);
        break;
    case Stage::SendingForcedUpdate:
    case Stage::AwaitingForcedAnswer:
        if (left != Stage::SendingForcedUpdate && left != Stage::AwaitingForcedAnswer) {
            emit statusChanged(u"Sending the forced update"_s);
        }
        break;
    case Stage::Running:
        reportRunning();
        break;
    case Stage::Ended:
        for (QTimer* timer : {&m_tmrPing, &m_forcedAfterLookup, &m_scheduler->timer(), &m_validationRetry->timer(),
                              &m_forcedRetry->timer(), &m_versionRetry->timer()}) {
            timer->stop();
        }
        break;
    }
}
