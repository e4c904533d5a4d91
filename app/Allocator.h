#pragma once

// On a screen of a high density the stage decodes and scales pictures of several megabytes, each
// needed for a moment. Tells the allocator to give every block that large back to the system
// as soon as it is freed (it would otherwise raise that threshold as such blocks come and go,
// and keep them), and to share a couple of arenas between the threads rather than keep one for
// each with what that thread freed. Called once, first thing in the process.
void keepLargePicturesOffTheHeap();
