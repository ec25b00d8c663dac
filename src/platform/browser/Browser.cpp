#include "platform/browser/Browser.h"

Browser::~Browser() = default;
