// Force-included into every file of the core library. The core is standard
// C++ only, so every Qt header must fail to compile there, even one reached
// through an explicit include path: every Qt header opens its namespace with
// this macro.
#pragma once
#pragma GCC poison QT_BEGIN_NAMESPACE
