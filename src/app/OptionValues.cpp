#include "app/OptionValues.h"

OptionValues &optionValues()
{
    static OptionValues values;
    return values;
}
