#pragma once

// The page's side of the viewer, written in JavaScript (page/library.js).
extern "C" {

// Starts inflating the gzip stream of count bitmap files of size bytes each, one after the other,
// and decoding each with the browser's image decoder as soon as its bytes are out.
void qex_page_decode_frames(const unsigned char* packed, int packedSize, int size, int count);
// Suspends until the picture of holder 1..count is decoded; 0 when the browser could not decode it.
int qex_page_await_frame(int holder);
// Shows the surface, gives it the focus and starts queueing its input into queue.
void qex_page_attach(void* queue);
// Makes holder 1..54 the picture drawn at the next display refresh.
void qex_page_show(int holder);
// 1 once the picture last given to qex_page_show is on the canvas.
int qex_page_presented();
// Hands the thread to the browser for up to ms milliseconds, returning early when input is queued
// or, if untilPresented, when the pending picture has been drawn.
void qex_page_sleep(double ms, int untilPresented);
// Puts the error line on the page and in the console.
void qex_page_report(const char* line);
// Stops the input and replaces the surface with the notice that the viewer has ended.
void qex_page_end(int failed);
}
