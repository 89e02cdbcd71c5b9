#include "tools/make-workspace/VideoLesson.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {
std::string ErrorText(int code) {
  char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, buffer, sizeof buffer);
  return buffer;
}

void Check(int code, const std::string& what) {
  if (code < 0) throw std::runtime_error(what + ": " + ErrorText(code));
}

struct Stream {
  AVStream* St = nullptr;
  AVCodecContext* Ctx = nullptr;
  AVFrame* Frame = nullptr;
  int64_t NextPts = 0;
  ~Stream() {
    avcodec_free_context(&Ctx);
    av_frame_free(&Frame);
  }
};

// Sends one frame (or the flush) and writes every packet the encoder gives back.
void Encode(AVFormatContext* fmt, Stream& s, AVFrame* frame) {
  Check(avcodec_send_frame(s.Ctx, frame), "encoding");
  AVPacket* packet = av_packet_alloc();
  for (;;) {
    const int rc = avcodec_receive_packet(s.Ctx, packet);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
    if (rc < 0) {
      av_packet_free(&packet);
      Check(rc, "encoding");
    }
    av_packet_rescale_ts(packet, s.Ctx->time_base, s.St->time_base);
    packet->stream_index = s.St->index;
    const int wrc = av_interleaved_write_frame(fmt, packet);
    if (wrc < 0) {
      av_packet_free(&packet);
      Check(wrc, "writing");
    }
  }
  av_packet_free(&packet);
}

const AVCodec* FindEncoder(const std::string& name) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
  if (!codec) throw std::runtime_error("no encoder " + name);
  return codec;
}

// Draws frame n into an RGB24 buffer: a sky gradient, a bouncing ball and a progress bar.
void DrawFrame(std::vector<uint8_t>& rgb, int width, int height, int n, int total, unsigned theme) {
  const int ballR = height / 10;
  const double t = static_cast<double>(n) / total;
  const int bx = ballR + static_cast<int>((width - 2 * ballR) * (0.5 - 0.5 * std::cos(t * 2 * M_PI)));
  const int by = height - ballR - 20 - static_cast<int>((height / 2) * std::fabs(std::sin(t * 3 * M_PI)));
  const uint8_t baseR = theme ? 40 : 20, baseG = theme ? 20 : 60, baseB = theme ? 90 : 120;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = &rgb[static_cast<size_t>(y) * width * 3];
    for (int x = 0; x < width; ++x) {
      uint8_t r = static_cast<uint8_t>(baseR + y * 100 / height);
      uint8_t g = static_cast<uint8_t>(baseG + y * 120 / height);
      uint8_t b = static_cast<uint8_t>(baseB + y * 110 / height);
      const int dx = x - bx, dy = y - by;
      if (dx * dx + dy * dy <= ballR * ballR) {
        r = theme ? 250 : 255;
        g = theme ? 200 : 120;
        b = theme ? 40 : 60;
      }
      if (y >= height - 12 && y < height - 4 && x >= 8 && x < 8 + (width - 16) * (n + 1) / total) r = g = b = 235;
      row[x * 3] = r;
      row[x * 3 + 1] = g;
      row[x * 3 + 2] = b;
    }
  }
}
}  // namespace

void WriteVideoLesson(const VideoLessonSpec& spec) {
  AVFormatContext* fmt = nullptr;
  Check(avformat_alloc_output_context2(&fmt, nullptr, nullptr, spec.Path.c_str()), "container for " + spec.Path);
  struct FmtGuard {
    AVFormatContext* F;
    ~FmtGuard() {
      if (F && !(F->oformat->flags & AVFMT_NOFILE)) avio_closep(&F->pb);
      avformat_free_context(F);
    }
  } fmtGuard{fmt};

  // Video stream.
  Stream video;
  const AVCodec* vcodec = FindEncoder(spec.VideoCodec);
  video.St = avformat_new_stream(fmt, nullptr);
  video.Ctx = avcodec_alloc_context3(vcodec);
  video.Ctx->width = spec.Width;
  video.Ctx->height = spec.Height;
  video.Ctx->time_base = AVRational{1, spec.FramesPerSecond};
  video.Ctx->framerate = AVRational{spec.FramesPerSecond, 1};
  video.Ctx->pix_fmt = AV_PIX_FMT_YUV420P;
  video.Ctx->gop_size = spec.FramesPerSecond;
  video.Ctx->bit_rate = 600000;
  if (fmt->oformat->flags & AVFMT_GLOBALHEADER) video.Ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(video.Ctx, vcodec, nullptr), "opening " + spec.VideoCodec);
  Check(avcodec_parameters_from_context(video.St->codecpar, video.Ctx), "video parameters");
  video.St->time_base = video.Ctx->time_base;
  video.Frame = av_frame_alloc();
  video.Frame->format = video.Ctx->pix_fmt;
  video.Frame->width = spec.Width;
  video.Frame->height = spec.Height;
  Check(av_frame_get_buffer(video.Frame, 0), "video frame");

  // Audio stream: mono, 44.1 kHz, in the first sample format the encoder takes.
  Stream audio;
  const AVCodec* acodec = FindEncoder(spec.AudioCodec);
  audio.St = avformat_new_stream(fmt, nullptr);
  audio.Ctx = avcodec_alloc_context3(acodec);
  audio.Ctx->sample_fmt = acodec->sample_fmts ? acodec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  audio.Ctx->sample_rate = 44100;
  av_channel_layout_default(&audio.Ctx->ch_layout, 1);
  audio.Ctx->bit_rate = 64000;
  audio.Ctx->time_base = AVRational{1, audio.Ctx->sample_rate};
  if (fmt->oformat->flags & AVFMT_GLOBALHEADER) audio.Ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(audio.Ctx, acodec, nullptr), "opening " + spec.AudioCodec);
  Check(avcodec_parameters_from_context(audio.St->codecpar, audio.Ctx), "audio parameters");
  audio.St->time_base = audio.Ctx->time_base;
  const int samplesPerFrame = audio.Ctx->frame_size > 0 ? audio.Ctx->frame_size : 1024;
  audio.Frame = av_frame_alloc();
  audio.Frame->format = audio.Ctx->sample_fmt;
  audio.Frame->nb_samples = samplesPerFrame;
  audio.Frame->sample_rate = audio.Ctx->sample_rate;
  Check(av_channel_layout_copy(&audio.Frame->ch_layout, &audio.Ctx->ch_layout), "audio layout");
  Check(av_frame_get_buffer(audio.Frame, 0), "audio frame");

  if (!(fmt->oformat->flags & AVFMT_NOFILE)) Check(avio_open(&fmt->pb, spec.Path.c_str(), AVIO_FLAG_WRITE), "creating " + spec.Path);
  Check(avformat_write_header(fmt, nullptr), "writing the header of " + spec.Path);

  SwsContext* sws = sws_getContext(spec.Width, spec.Height, AV_PIX_FMT_RGB24, spec.Width, spec.Height, AV_PIX_FMT_YUV420P,
                                   SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!sws) throw std::runtime_error("no colour converter");
  // The converter's vector loops read up to a register past the last row: slack for them.
  constexpr size_t kConverterSlack = 64;
  std::vector<uint8_t> rgb(static_cast<size_t>(spec.Width) * spec.Height * 3 + kConverterSlack);
  const int totalFrames = spec.FramesPerSecond * spec.Seconds;
  const int64_t totalSamples = static_cast<int64_t>(audio.Ctx->sample_rate) * spec.Seconds;
  double phase = 0;

  try {
    while (video.NextPts < totalFrames || audio.NextPts < totalSamples) {
      // Feed whichever stream is behind in time.
      const bool videoFirst =
          video.NextPts < totalFrames &&
          (audio.NextPts >= totalSamples ||
           av_compare_ts(video.NextPts, video.Ctx->time_base, audio.NextPts, audio.Ctx->time_base) <= 0);
      if (videoFirst) {
        Check(av_frame_make_writable(video.Frame), "video frame");
        DrawFrame(rgb, spec.Width, spec.Height, static_cast<int>(video.NextPts), totalFrames, spec.Theme);
        const uint8_t* src[1] = {rgb.data()};
        const int srcStride[1] = {spec.Width * 3};
        sws_scale(sws, src, srcStride, 0, spec.Height, video.Frame->data, video.Frame->linesize);
        video.Frame->pts = video.NextPts++;
        Encode(fmt, video, video.Frame);
      } else {
        Check(av_frame_make_writable(audio.Frame), "audio frame");
        for (int i = 0; i < samplesPerFrame; ++i) {
          // A tone that steps up every half second, softly fading in and out.
          const int64_t s = audio.NextPts + i;
          const double seconds = static_cast<double>(s) / audio.Ctx->sample_rate;
          const double freq = (spec.Theme ? 330.0 : 440.0) * std::pow(2.0, static_cast<int>(seconds * 2) % 5 / 12.0 * 2);
          phase += 2 * M_PI * freq / audio.Ctx->sample_rate;
          const double envelope = 0.3 * std::min(1.0, std::fabs(std::sin(seconds * 2 * M_PI)) * 4);
          const double value = s < totalSamples ? envelope * std::sin(phase) : 0.0;
          const AVSampleFormat format = audio.Ctx->sample_fmt;
          if (format == AV_SAMPLE_FMT_S16 || format == AV_SAMPLE_FMT_S16P)
            reinterpret_cast<int16_t*>(audio.Frame->data[0])[i] = static_cast<int16_t>(value * 32767);
          else if (format == AV_SAMPLE_FMT_FLT || format == AV_SAMPLE_FMT_FLTP)
            reinterpret_cast<float*>(audio.Frame->data[0])[i] = static_cast<float>(value);
          else
            throw std::runtime_error("unexpected sample format of " + spec.AudioCodec);
        }
        audio.Frame->pts = audio.NextPts;
        audio.NextPts += samplesPerFrame;
        Encode(fmt, audio, audio.Frame);
      }
    }
    Encode(fmt, video, nullptr);
    Encode(fmt, audio, nullptr);
    Check(av_write_trailer(fmt), "finishing " + spec.Path);
  } catch (...) {
    sws_freeContext(sws);
    throw;
  }
  sws_freeContext(sws);
}
