#include "payload/payload_set.h"

#include <cstdint>

// Each member is its file's bytes, placed in the image's read-only data by payload_blob.S, and a
// 32-bit length behind them. The assembler names are given exactly, whatever the target's C prefix.
#define CRADLE_PAYLOAD(name)                                                    \
    extern "C" const std::uint8_t name##_bytes[] __asm__("cradle_" #name "_bytes"); \
    extern "C" const std::uint32_t name##_size __asm__("cradle_" #name "_size");

CRADLE_PAYLOAD(assembly)
CRADLE_PAYLOAD(executable)
CRADLE_PAYLOAD(before_image)
CRADLE_PAYLOAD(after_image)

ByteString AssemblyPayload() { return {assembly_bytes, assembly_size}; }
ByteString ExecutablePayload() { return {executable_bytes, executable_size}; }
ByteString BeforeImagePayload() { return {before_image_bytes, before_image_size}; }
ByteString AfterImagePayload() { return {after_image_bytes, after_image_size}; }
