a
bjunk
