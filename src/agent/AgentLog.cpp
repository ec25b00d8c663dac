#include "agent/AgentLog.h"

Q_LOGGING_CATEGORY(lcAgent, "quillomi.agent", QtWarningMsg)
