#include "settings/OptionValues.h"

#include "settings/OptionKeys.h"

OptionValues::OptionValues()
{
    OptionKeys::forEachInMemory([this](const auto &key) { this->*key.member = key.initial(); });
}

OptionValues &optionValues()
{
    static OptionValues values;
    return values;
}
