// A public class, above the values.
#include "types/value.h"
