#pragma once

// Base of every error the program raises. It records where it was raised and
// the calling frames, so the top-level report can point at the code without a
// debugger. Messages are static texts or a fixed buffer: raising allocates
// nothing beyond the exception object itself.
class Error {
public:
  static constexpr int MaxFrames = 16;

  // Derived constructors are marked always_inline, so the caller seen here is
  // the raise site at every optimisation level.
  [[gnu::noinline]] Error(const char* className, const char* message);
  virtual ~Error() = default;

  const char* ClassName() const { return Name; }
  virtual const char* Message() const { return Text; }

  // Frames()[0] is the raise site, the rest its callers, innermost first.
  const void* const* Frames() const { return FrameList; }
  int FrameCount() const { return Count; }

  // The unwinder loads lazily; warm it at start-up so later raises are cheap.
  static void Prepare();

private:
  // Keeps the captured frames from the raise site on, at most MaxFrames;
  // from raw[1] when the site is not among them.
  void KeepFrames(const void* site, void* const* raw, int n);

  const char* Name;
  const char* Text;
  const void* FrameList[MaxFrames] = {};
  int Count = 0;
};

constexpr const char* ErMsgIntOverflow = "Arithmetic overflow";

// Counters are checked: running past their range is an error, never a wrap.
class EIntOverflow : public Error {
public:
  [[gnu::always_inline]] EIntOverflow() : Error("EIntOverflow", ErMsgIntOverflow) {}
};
