array
#include <arrayinternals.au3>
