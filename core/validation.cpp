#include "validation.h"
