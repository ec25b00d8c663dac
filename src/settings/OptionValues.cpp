#include "settings/OptionValues.h"

OptionValues &optionValues()
{
    static OptionValues values;
    return values;
}
