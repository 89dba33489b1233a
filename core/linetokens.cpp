#include "linetokens.h"
