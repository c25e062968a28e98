#include "FontSpec.h"
