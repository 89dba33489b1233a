#include "numbers.h"
