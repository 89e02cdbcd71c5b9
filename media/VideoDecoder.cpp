#include "media/VideoDecoder.h"

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <filesystem>

#include "media/FfmpegLibrary.h"

namespace {
// Opening (probing included) may take this long before it is abandoned; a
// local file needs a small fraction of it.
constexpr auto kOpenLimit = std::chrono::seconds(3);
// A read may overrun the tick's budget by this much before it is interrupted.
constexpr auto kReadSlack = std::chrono::milliseconds(50);
// Pictures larger than this are refused by the decoder (about 1 GB of frames otherwise).
constexpr int kMaxSide = 8192;
constexpr std::int64_t kMaxPixels = std::int64_t{kMaxSide} * kMaxSide;

double Seconds(AVRational r) { return r.den ? static_cast<double>(r.num) / r.den : 0; }

// Loaded when the first video opens.
const TFfmpegLibrary& Ff() { return TFfmpegLibrary::Get(); }
}  // namespace

std::string MediaErrorText(int code) {
  char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
  const TFfmpegLibrary* av = TFfmpegLibrary::Find();
  if (!av || av->av_strerror(code, buffer, sizeof buffer) < 0) return "Error number " + std::to_string(code) + " occurred";
  return buffer;
}

std::string FrameSizeErrorText() {
  return "Видео не открывается: в заголовке файла указан недопустимый размер кадра (показать можно кадр размером от 1 × 1 до " +
         std::to_string(kMaxSide) + " × " + std::to_string(kMaxSide) + ").";
}

// Nothing of FFmpeg is needed before a file opens: a player that never plays
// loads none of it.
TVideoDecoder::TVideoDecoder() = default;

TVideoDecoder::~TVideoDecoder() {
  Close();
  if (Scaler_) Ff().sws_freeContext(Scaler_);
}

int TVideoDecoder::InterruptCallback(void* self) {
  return TClock::now() > static_cast<TVideoDecoder*>(self)->Deadline_ ? 1 : 0;
}

void TVideoDecoder::Close() {
  // Without the libraries loaded nothing of theirs can be held.
  if (TFfmpegLibrary::Loaded()) {
    ClearQueue();
    Ff().av_frame_free(&Scratch_);
    Ff().av_packet_free(&Packet_);
    Ff().avcodec_free_context(&Video_);
    Ff().avcodec_free_context(&Audio_);
    Ff().swr_free(&Resampler_);
    if (Format_) Ff().avformat_close_input(&Format_);
  }
  VideoStream_ = AudioStream_ = -1;
  InputEnded_ = Drained_ = false;
  LastTime_ = -1;
  AudioStarted_ = false;
  AudioStart_ = 0;
  Path_.clear();
}

void TVideoDecoder::Open(const std::string& path) {
  Close();
  auto fail = [this](int code) {
    Close();
    throw EMediaError(MediaErrorText(code));
  };
  // A pipe or device could block the open itself, where no deadline reaches.
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw EMediaError(MediaErrorText(std::filesystem::is_directory(status) ? AVERROR(EISDIR) : AVERROR(EINVAL)));
  AVFormatContext* format = Ff().avformat_alloc_context();
  if (!format) throw EMediaError(MediaErrorText(AVERROR(ENOMEM)));
  // Video lessons are files: no network address may hold the window while it answers.
  format->protocol_whitelist = Ff().av_strdup("file");
  format->interrupt_callback.callback = &TVideoDecoder::InterruptCallback;
  format->interrupt_callback.opaque = this;
  SetDeadline(kOpenLimit);
  int rc = Ff().avformat_open_input(&format, path.c_str(), nullptr, nullptr);  // frees `format` on failure
  if (rc < 0) fail(rc);
  Format_ = format;
  rc = Ff().avformat_find_stream_info(Format_, nullptr);
  if (rc < 0) fail(rc);

  const AVCodec* codec = nullptr;
  rc = Ff().av_find_best_stream(Format_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (rc < 0) fail(rc);
  VideoStream_ = rc;
  AVStream* vs = Format_->streams[VideoStream_];
  // FFmpeg quietly drops a frame size it cannot use (to 0 x 0), and then every
  // picture fails: the file would open and show nothing. Where the pictures
  // themselves carry their size, probing has already put it here.
  const int width = vs->codecpar->width;
  const int height = vs->codecpar->height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<std::int64_t>(width) * height > kMaxPixels) {
    Close();
    throw EMediaError(FrameSizeErrorText());
  }
  if (!codec) fail(AVERROR_DECODER_NOT_FOUND);
  Video_ = Ff().avcodec_alloc_context3(codec);
  if (!Video_) fail(AVERROR(ENOMEM));
  rc = Ff().avcodec_parameters_to_context(Video_, vs->codecpar);
  if (rc < 0) fail(rc);
  Video_->max_pixels = kMaxPixels;
  Video_->thread_count = 1;  // the program has one thread; a frame of delay per extra one otherwise
  rc = Ff().avcodec_open2(Video_, codec, nullptr);
  if (rc < 0) fail(rc);
  VideoTimeBase_ = Seconds(vs->time_base);
  VideoStart_ = vs->start_time != AV_NOPTS_VALUE ? vs->start_time : 0;
  const AVRational rate = Ff().av_guess_frame_rate(Format_, vs, nullptr);
  FrameInterval_ = rate.num > 0 && rate.den > 0 ? Seconds(av_inv_q(rate)) : 0.04;
  if (FrameInterval_ <= 0.001 || FrameInterval_ > 10) FrameInterval_ = 0.04;

  const AVCodec* audioCodec = nullptr;
  const int audio = Ff().av_find_best_stream(Format_, AVMEDIA_TYPE_AUDIO, -1, VideoStream_, &audioCodec, 0);
  if (audio >= 0 && audioCodec) {
    // A sound track that cannot be decoded leaves a silent picture, not an error.
    AVCodecContext* ctx = Ff().avcodec_alloc_context3(audioCodec);
    if (ctx && Ff().avcodec_parameters_to_context(ctx, Format_->streams[audio]->codecpar) >= 0 &&
        Ff().avcodec_open2(ctx, audioCodec, nullptr) >= 0) {
      Audio_ = ctx;
      AudioStream_ = audio;
      AVStream* as = Format_->streams[audio];
      AudioTimeBase_ = Seconds(as->time_base);
      AudioStartTs_ = as->start_time != AV_NOPTS_VALUE ? as->start_time : 0;
    } else {
      Ff().avcodec_free_context(&ctx);
    }
  }
  Scratch_ = Ff().av_frame_alloc();
  Packet_ = Ff().av_packet_alloc();
  if (!Scratch_ || !Packet_) fail(AVERROR(ENOMEM));
  Deadline_ = TClock::time_point::max();
  Path_ = path;
}

int TVideoDecoder::Width() const { return Video_ ? Video_->width : 0; }
int TVideoDecoder::Height() const { return Video_ ? Video_->height : 0; }

void TVideoDecoder::SetAudioSink(int sampleRate, int channels, TAudioSink sink) {
  if (Resampler_) Ff().swr_free(&Resampler_);
  AudioSink_ = std::move(sink);
  SinkRate_ = AudioSink_ ? sampleRate : 0;
  SinkChannels_ = AudioSink_ ? channels : 0;
}

void TVideoDecoder::ClearQueue() {
  for (TQueued& q : Frames_) Ff().av_frame_free(&q.Frame);
  Frames_.clear();
}

void TVideoDecoder::DropFront() {
  if (Frames_.empty()) return;
  Ff().av_frame_free(&Frames_.front().Frame);
  Frames_.pop_front();
}

bool TVideoDecoder::ReceiveVideo() {
  const int rc = Ff().avcodec_receive_frame(Video_, Scratch_);
  if (rc == AVERROR_EOF) {
    Drained_ = true;
    return false;
  }
  if (rc < 0) return false;  // EAGAIN, or a picture the decoder gave up on
  double time;
  const std::int64_t ts = Scratch_->best_effort_timestamp;
  if (ts != AV_NOPTS_VALUE) time = static_cast<double>(ts - VideoStart_) * VideoTimeBase_;
  else time = LastTime_ < 0 ? 0 : LastTime_ + FrameInterval_;  // pictures without a time follow the frame rate
  if (LastTime_ >= 0 && time < LastTime_) time = LastTime_;      // never backwards
  LastTime_ = time;
  AVFrame* kept = Ff().av_frame_alloc();
  if (!kept) return false;
  Ff().av_frame_move_ref(kept, Scratch_);
  Frames_.push_back({kept, std::max(0.0, time)});
  return true;
}

void TVideoDecoder::ReceiveAudio() {
  while (Ff().avcodec_receive_frame(Audio_, Scratch_) >= 0) {
    if (!Resampler_) {
      AVChannelLayout out{};
      Ff().av_channel_layout_default(&out, SinkChannels_);
      const int rc = Ff().swr_alloc_set_opts2(&Resampler_, &out, AV_SAMPLE_FMT_S16, SinkRate_, &Audio_->ch_layout,
                                         Audio_->sample_fmt, Audio_->sample_rate, 0, nullptr);
      Ff().av_channel_layout_uninit(&out);
      if (rc < 0 || Ff().swr_init(Resampler_) < 0) {
        Ff().swr_free(&Resampler_);
        AudioSink_ = nullptr;  // sound we cannot convert is dropped; the picture goes on
        Ff().av_frame_unref(Scratch_);
        return;
      }
    }
    if (!AudioStarted_) {
      const std::int64_t ts = Scratch_->best_effort_timestamp;
      AudioStart_ = ts != AV_NOPTS_VALUE ? std::max(0.0, static_cast<double>(ts - AudioStartTs_) * AudioTimeBase_) : 0;
      AudioStarted_ = true;
    }
    const int capacity = Ff().swr_get_out_samples(Resampler_, Scratch_->nb_samples);
    if (capacity > 0) {
      AudioBuffer_.resize(static_cast<std::size_t>(capacity) * SinkChannels_);
      auto* out = reinterpret_cast<std::uint8_t*>(AudioBuffer_.data());
      const int got = Ff().swr_convert(Resampler_, &out, capacity, const_cast<const std::uint8_t**>(Scratch_->extended_data),
                                  Scratch_->nb_samples);
      if (got > 0) AudioSink_(AudioBuffer_.data(), static_cast<std::size_t>(got));
    }
    Ff().av_frame_unref(Scratch_);
  }
}

void TVideoDecoder::HandlePacket(AVPacket* packet) {
  if (packet->stream_index == VideoStream_) {
    // A damaged packet is skipped; the decoder resynchronises on its own.
    Ff().avcodec_send_packet(Video_, packet);
  } else if (packet->stream_index == AudioStream_ && AudioSink_) {
    if (Ff().avcodec_send_packet(Audio_, packet) >= 0) ReceiveAudio();
  }
}

TVideoDecoder::TPump TVideoDecoder::Pump(std::size_t frames, TClock::duration budget) {
  if (!IsOpen()) return TPump::End;
  const TClock::time_point until = TClock::now() + budget;
  bool readSome = false;  // every call reads at least one packet, so a slow file still advances
  while (Frames_.size() < frames) {
    if (ReceiveVideo()) continue;
    if (Drained_) return Frames_.empty() ? TPump::End : TPump::Ready;
    if (readSome && TClock::now() >= until) return TPump::Busy;
    if (InputEnded_) {
      // The decoder has been told; an EAGAIN here would mean it wants no more
      // input yet gives nothing: take that as the end.
      Drained_ = true;
      continue;
    }
    Deadline_ = until + kReadSlack;
    const int rc = Ff().av_read_frame(Format_, Packet_);
    Deadline_ = TClock::time_point::max();
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EXIT) return TPump::Busy;
    if (rc < 0) {
      // End of file, or a read error: whatever was read is played out.
      InputEnded_ = true;
      Ff().avcodec_send_packet(Video_, nullptr);
      if (Audio_ && AudioSink_ && Ff().avcodec_send_packet(Audio_, nullptr) >= 0) ReceiveAudio();
      continue;
    }
    readSome = true;
    HandlePacket(Packet_);
    Ff().av_packet_unref(Packet_);
  }
  return TPump::Ready;
}

void TVideoDecoder::ScaleFront(TBitmap& target, const TRect& rect) {
  if (Frames_.empty() || target.PixelFormat() != TPixelFormat::pf32bit || !target.TopDown()) return;
  const AVFrame* f = Frames_.front().Frame;
  const TRect bounds{0, 0, target.Width(), target.Height()};
  const TRect visible = rect.Intersect(bounds);
  if (visible.IsEmpty() || f->width <= 0 || f->height <= 0) return;
  if (visible != rect) return;  // partial targets are not needed by the player
  // Fast bilinear: a third of the plain bilinear's time at a maximised panel's
  // size, with no difference a moving picture shows.
  Scaler_ = Ff().sws_getCachedContext(Scaler_, f->width, f->height, static_cast<AVPixelFormat>(f->format), rect.Width(),
                                 rect.Height(), AV_PIX_FMT_BGRA, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
  if (!Scaler_) return;
  // The converters work in blocks of pixels and may write past the end of a
  // row; they write into our own padded rows, which are then copied out.
  const int rowBytes = rect.Width() * 4;
  const int stride = (rowBytes + 63) & ~63;
  ScaleBuffer_.resize(static_cast<std::size_t>(stride) * rect.Height() + 64);
  std::uint8_t* dst[4] = {ScaleBuffer_.data(), nullptr, nullptr, nullptr};
  int dstStride[4] = {stride, 0, 0, 0};
  Ff().sws_scale(Scaler_, f->data, f->linesize, 0, f->height, dst, dstStride);
  for (int y = 0; y < rect.Height(); ++y)
    std::memcpy(target.ScanLine(rect.Top + y) + static_cast<std::ptrdiff_t>(rect.Left) * 4,
                ScaleBuffer_.data() + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(rowBytes));
}

void TVideoDecoder::Rewind() {
  if (!IsOpen()) return;
  ClearQueue();
  SetDeadline(kOpenLimit);
  const std::int64_t start = Format_->start_time != AV_NOPTS_VALUE ? Format_->start_time : 0;
  const int rc = Ff().avformat_seek_file(Format_, -1, INT64_MIN, start, start, 0);
  Deadline_ = TClock::time_point::max();
  if (rc < 0) {
    // A container that cannot seek is read again from the start.
    const std::string path = Path_;
    TAudioSink sink = AudioSink_;
    const int rate = SinkRate_, channels = SinkChannels_;
    Open(path);
    SetAudioSink(rate, channels, std::move(sink));
    return;
  }
  Ff().avcodec_flush_buffers(Video_);
  if (Audio_) Ff().avcodec_flush_buffers(Audio_);
  Ff().swr_free(&Resampler_);
  InputEnded_ = Drained_ = false;
  LastTime_ = -1;
  AudioStarted_ = false;
  AudioStart_ = 0;
}
