; A whole path opens as it stands: the work folder by its name on drive Z:
#include "@WORK@\lib\Whole Path.au3"
Main()
