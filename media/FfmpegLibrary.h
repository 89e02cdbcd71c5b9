#pragma once
// FFmpeg's entry points the video player calls, found in its shared libraries
// the first time a video is opened. Linked to the program, those libraries and
// the hundred-odd they pull in would be loaded at every start, before the first
// window, for a player many sessions never open.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

// X(library, function) for every function the player calls.
#define TB_FFMPEG_FUNCTIONS(X)                                                                                     \
  X(avutil, av_log_set_level)                                                                                      \
  X(avutil, av_strerror)                                                                                           \
  X(avutil, av_strdup)                                                                                             \
  X(avutil, av_frame_alloc)                                                                                        \
  X(avutil, av_frame_free)                                                                                         \
  X(avutil, av_frame_unref)                                                                                        \
  X(avutil, av_frame_move_ref)                                                                                     \
  X(avutil, av_channel_layout_default)                                                                             \
  X(avutil, av_channel_layout_uninit)                                                                              \
  X(avformat, avformat_alloc_context)                                                                              \
  X(avformat, avformat_open_input)                                                                                 \
  X(avformat, avformat_find_stream_info)                                                                           \
  X(avformat, avformat_close_input)                                                                                \
  X(avformat, avformat_seek_file)                                                                                  \
  X(avformat, av_find_best_stream)                                                                                 \
  X(avformat, av_guess_frame_rate)                                                                                 \
  X(avformat, av_read_frame)                                                                                       \
  X(avcodec, avcodec_alloc_context3)                                                                               \
  X(avcodec, avcodec_free_context)                                                                                 \
  X(avcodec, avcodec_parameters_to_context)                                                                        \
  X(avcodec, avcodec_open2)                                                                                        \
  X(avcodec, avcodec_send_packet)                                                                                  \
  X(avcodec, avcodec_receive_frame)                                                                                \
  X(avcodec, avcodec_flush_buffers)                                                                                \
  X(avcodec, av_packet_alloc)                                                                                      \
  X(avcodec, av_packet_free)                                                                                       \
  X(avcodec, av_packet_unref)                                                                                      \
  X(swscale, sws_getCachedContext)                                                                                 \
  X(swscale, sws_scale)                                                                                            \
  X(swscale, sws_freeContext)                                                                                      \
  X(swresample, swr_alloc_set_opts2)                                                                               \
  X(swresample, swr_init)                                                                                          \
  X(swresample, swr_free)                                                                                          \
  X(swresample, swr_get_out_samples)                                                                               \
  X(swresample, swr_convert)

// The functions keep FFmpeg's own names, so that the calls read as its documentation.
struct TFfmpegLibrary {
#define TB_FFMPEG_MEMBER(library, function) decltype(&::function) function = nullptr;
  TB_FFMPEG_FUNCTIONS(TB_FFMPEG_MEMBER)
#undef TB_FFMPEG_MEMBER

  // Loads the libraries on the first call; raises EMediaError (a Russian text
  // naming what is missing) when they or a function cannot be found.
  static const TFfmpegLibrary& Get();
  // The same without raising: nullptr where the libraries cannot be loaded.
  static const TFfmpegLibrary* Find();
  // Whether an earlier call has loaded them (nothing is loaded by asking).
  static bool Loaded();
};
