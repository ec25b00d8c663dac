#include "character/QuitSequence.h"

namespace {

template <typename... Args>
void call(const std::function<void(Args...)> &step, Args... args)
{
    if (step)
        step(args...);
}

} // namespace

QuitSequence::QuitSequence(Steps steps, QObject *parent)
    : QObject(parent)
    , m_steps(std::move(steps))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &QuitSequence::end);
}

void QuitSequence::quit()
{
    if (m_state != State::Running)
        return;
    if (!m_askFirst || m_systemClosing || !m_steps.askShutDown) {
        proceed(0);
        return;
    }
    m_state = State::Asking;
    const std::optional<int> choice = m_steps.askShutDown();
    if (m_state != State::Asking)
        return; // the session ended while the dialog was open and has quit already
    if (!choice) {
        m_state = State::Running;
        return;
    }
    proceed(*choice);
}

void QuitSequence::sessionEnding()
{
    m_systemClosing = true;
    switch (m_state) {
    case State::Running:
    case State::Asking:
        proceed(0);
        break;
    case State::Quitting:
        // Asked again: everything is saved, so stop waiting for the characters.
        end();
        break;
    case State::Ended:
        break;
    }
}

void QuitSequence::proceed(int exitAction)
{
    m_state = State::Quitting;
    m_exitAction = exitAction;
    // Hides from before the quit do not count: every character must walk off now.
    m_hides = 0;
    m_deadline.start(m_grace);
    call(m_steps.saveSettings);
    call(m_steps.closeWindows);
    call(m_steps.readyCharacter);
    call(m_steps.stopTimers);
    call(m_steps.sayGoodbye);
    call(m_steps.hideCharacters);
    // No character loaded: no Hide event will come.
    if (m_steps.characterCount && m_steps.characterCount() <= 0)
        end();
}

void QuitSequence::hideEvent()
{
    if (m_state != State::Quitting)
        return;
    ++m_hides;
    const int characters = m_steps.characterCount ? m_steps.characterCount() : 1;
    if (m_hides >= characters)
        end();
}

void QuitSequence::end()
{
    if (m_state == State::Ended)
        return;
    m_state = State::Ended;
    m_deadline.stop();
    if (m_exitAction == 1 || m_exitAction == 2)
        call(m_steps.exitAction, m_exitAction);
    call(m_steps.endProgram);
}
