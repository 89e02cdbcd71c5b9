// The demo workspace's own video writer, so that the player is tested on the
// very files the workspace generator makes.
#include "tools/make-workspace/VideoLesson.cpp"
