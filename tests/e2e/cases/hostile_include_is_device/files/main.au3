#include <null>
#include <ZERO>
#include <urandom>
#include <stdin>
$x = 1
