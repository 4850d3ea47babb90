array
internals
util
