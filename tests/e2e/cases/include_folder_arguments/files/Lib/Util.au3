util
