#pragma once

// Converts interleaved linear PCM between sample formats, channel counts and
// sample rates, pulling its input from a procedure. Rates are converted with
// libsamplerate, whose state carries from call to call.

#include "Platform/Audio/AudioHardware.h"

struct AudioConverter;
typedef AudioConverter* AudioConverterRef;

// Asked for up to *packets frames: points data's first buffer at them and
// sets *packets to how many there are. 0 frames with status 0 ends the
// stream (the converter then drains what it holds); a non-zero status ends
// this fill and is passed on, and the stream goes on at the next fill.
// The frames must stay readable until the procedure is called again.
typedef AudioStatus (*AudioConverterComplexInputDataProc)(AudioConverterRef converter,
                                                          std::uint32_t* packets,
                                                          AudioBufferList* data,
                                                          void** packetDescriptions, void* user);

// Asked for up to *bytes of source frames: points *data at them and sets
// *bytes to their size; otherwise as the procedure above.
typedef AudioStatus (*AudioConverterInputDataProc)(AudioConverterRef converter,
                                                   std::uint32_t* bytes, void** data, void* user);

// The converter's properties.
// The source format (an AudioStreamBasicDescription); read only.
constexpr AudioPropertyId kAudioConverterPropertySourceFormat = AudioFourCharCode("csrc");
// The destination format (an AudioStreamBasicDescription). Setting it makes
// the converter go on in the new format from the source frame its output has
// reached: what it had taken from its procedure and not yet given out comes
// again, in the new format.
constexpr AudioPropertyId kAudioConverterPropertyDestinationFormat = AudioFourCharCode("cdst");

// Both formats: linear PCM, interleaved, one frame per packet; integers of
// 8 (unsigned unless flagged signed), 16, 24 (packed in 3 bytes) or 32 bits,
// floats of 32 or 64 bits, either byte order. Channels: one is given to
// every output channel; more than the output has are dropped from the end;
// missing ones are silent.
AudioStatus AudioConverterNew(AudioStreamBasicDescription const* source,
                              AudioStreamBasicDescription const* destination,
                              AudioConverterRef* converter);
AudioStatus AudioConverterDispose(AudioConverterRef converter);
// Fills output with up to *packets frames of the destination format (never
// more than its byte size holds) and sets *packets to the frames written.
// Allocates nothing.
AudioStatus AudioConverterFillComplexBuffer(AudioConverterRef converter,
                                            AudioConverterComplexInputDataProc proc, void* user,
                                            std::uint32_t* packets, AudioBufferList* output,
                                            void* packetDescriptions);
// The same into one buffer of *bytes bytes; *bytes becomes the bytes written.
AudioStatus AudioConverterFillBuffer(AudioConverterRef converter, AudioConverterInputDataProc proc,
                                     void* user, std::uint32_t* bytes, void* output);

// Sizes are in bytes: on entry the room at data, on return what was
// written. An unknown property is 'who?', a size that does not fit '!siz',
// a property that cannot be set 'nope'.
AudioStatus AudioConverterGetPropertyInfo(AudioConverterRef converter, AudioPropertyId property,
                                          std::uint32_t* size, bool* writable);
AudioStatus AudioConverterGetProperty(AudioConverterRef converter, AudioPropertyId property,
                                      std::uint32_t* size, void* data);
AudioStatus AudioConverterSetProperty(AudioConverterRef converter, AudioPropertyId property,
                                      std::uint32_t size, void const* data);
