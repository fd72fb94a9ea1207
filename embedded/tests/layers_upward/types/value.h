// A value that reaches up to a public class: the include the layer check refuses.
#include "base/errors.h"
#include "occi/statement.h"
