// Compiled with the core's guard by a test that expects the compiler to refuse it.
#include <QString>
