#include "agent/Characters.h"

#include "agent/AgentCharacter.h"
#include "agent/AgentClock.h"
#include "agent/AgentLog.h"
#include "agent/AgentPropertySheet.h"
#include "agent/CharacterLoader.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <memory>

namespace {

// The loader hands out one shared instance per unchanged file while it is in use.
std::shared_ptr<const CharacterData> decode(const QString &path, QString &error)
{
    CharacterLoadResult result = CharacterLoader::load(path);
    if (!result)
        error = result.error;
    return result.character;
}

QString normalized(const QString &id)
{
    return id.trimmed().toLower();
}

} // namespace

Characters::Characters(QObject *parent)
    : Characters(AgentClock::system(), parent)
{}

Characters::Characters(AgentClock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_settings(AgentSettings::load(RegistryStore::global()))
{}

Characters::~Characters()
{
    qDeleteAll(m_characters);
    delete m_sheet;
}

bool Characters::Load(const QString &id, const QString &path)
{
    Unload(id);
    m_lastError.clear();
    const std::shared_ptr<const CharacterData> data = decode(path, m_lastError);
    if (!data) {
        qCInfo(lcAgent).noquote() << "load" << id << path << "failed:" << m_lastError;
        return false;
    }
    auto *character = new AgentCharacter(id, data, m_clock, m_settings, this);
    m_characters.insert(normalized(id), character);
    connectEvents(character);
    qCInfo(lcAgent).noquote() << "load" << id << path << data->name << data->guid;
    return true;
}

void Characters::Unload(const QString &id)
{
    AgentCharacter *character = m_characters.take(normalized(id));
    if (!character)
        return;
    qCInfo(lcAgent).noquote() << "unload" << id;
    // The program may unload a character from a handler of that character's own event (a
    // Hide, a Click): it leaves the screen now and is deleted once that event is over.
    character->disconnect(this);
    character->retire();
    character->deleteLater();
}

AgentCharacter *Characters::Character(const QString &id) const
{
    return m_characters.value(normalized(id));
}

QStringList Characters::ids() const
{
    QStringList list;
    for (const AgentCharacter *character : m_characters)
        list << character->id();
    return list;
}

AgentPropertySheet &Characters::PropertySheet()
{
    if (!m_sheet) {
        m_sheet = new AgentPropertySheet;
        connect(m_sheet, &AgentPropertySheet::settingsAccepted, this, &Characters::applySettings);
        connect(m_sheet, &QDialog::finished, m_sheet, &QObject::deleteLater);
        const QStringList files = QDir(m_charactersFolder)
                                          .entryList({QStringLiteral("*.acs")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
        m_sheet->setSettings(m_settings, files);
    }
    return *m_sheet;
}

void Characters::applySettings(const AgentSettings &settings)
{
    const bool newDefault = settings.defaultCharacter != m_settings.defaultCharacter;
    m_settings = settings;
    if (!settings.save(RegistryStore::global()))
        qCWarning(lcAgent) << "could not store the character settings";
    for (AgentCharacter *character : std::as_const(m_characters))
        character->applySettings(settings);
    if (!newDefault || settings.defaultCharacter.isEmpty())
        return;
    QString error;
    const auto data = decode(QDir(m_charactersFolder).filePath(settings.defaultCharacter), error);
    const QString guid = data ? data->guid : QString();
    qCInfo(lcAgent).noquote() << "event DefaultCharacterChange" << guid;
    emit DefaultCharacterChange(guid);
}

void Characters::connectEvents(AgentCharacter *character)
{
    const QString id = character->id();
    connect(character, &AgentCharacter::clicked, this, [this, id](int b, int s, int x, int y) {
        qCInfo(lcAgent).noquote() << "event Click" << id << b << s << x << y;
        emit Click(id, b, s, x, y);
    });
    connect(character, &AgentCharacter::doubleClicked, this,
            [this, id](int b, int s, int x, int y) {
                qCInfo(lcAgent).noquote() << "event DblClick" << id << b << s << x << y;
                emit DblClick(id, b, s, x, y);
            });
    connect(character, &AgentCharacter::dragCompleted, this,
            [this, id](int b, int s, int x, int y) {
                qCInfo(lcAgent).noquote() << "event DragComplete" << id << b << s << x << y;
                emit DragComplete(id, b, s, x, y);
            });
    connect(character, &AgentCharacter::hidden, this, [this, id](int cause) {
        qCInfo(lcAgent).noquote() << "event Hide" << id << cause;
        emit Hide(id, cause);
    });
    connect(character, &AgentCharacter::activated, this, [this, id](int state) {
        // Programs activate their character over and over; only a change is news.
        if (id != m_activeId || state != m_activeState)
            qCInfo(lcAgent).noquote() << id << "Activate" << state;
        m_activeId = id;
        m_activeState = state;
    });
    connect(character, &AgentCharacter::commandChosen, this, [this](const QString &name) {
        qCInfo(lcAgent).noquote() << "event Command" << name;
        emit Command(name);
    });
}
