start
ping
pong
self
end
