#pragma once

#include <QLoggingCategory>

// One line per request and event of the character component; off unless enabled with
// QT_LOGGING_RULES="quillomi.agent.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcAgent)
