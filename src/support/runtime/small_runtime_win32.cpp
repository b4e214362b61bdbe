// The small C++ runtime of the shipped Windows programs, built with
// -fno-exceptions -fno-rtti. The standard library's own operator new and its
// throw helpers would pull in the whole exception machinery (about 200 KB
// of a program that must stay under 128 KB); here every failure they report
// ends the program, which is all a thrown exception could do in a core that
// catches none. Kept out of rigbox_core: only programs that link
// rigbox_small_runtime get it, not the test binary.
#include <cstdlib>
#include <new>
#include <string>

namespace {

[[noreturn]] void Fatal() { std::abort(); }

}  // namespace

void* operator new(std::size_t size) {
  void* memory = std::malloc(size != 0 ? size : 1);
  if (memory == nullptr) Fatal();
  return memory;
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

// A call through an abstract class's vtable slot; the library's version
// goes through std::terminate and its handlers.
extern "C" void __cxa_pure_virtual() { Fatal(); }
extern "C" void __cxa_deleted_virtual() { Fatal(); }

#if defined(__i386__) && !defined(__SEH__)
// A library object built with exceptions (std::from_chars for floating
// point is one) names the personality routine in its unwind tables, and the
// library's own brings the unwinder, std::terminate's verbose handler and
// the demangler (over 100 KB). It only runs while an exception unwinds the
// stack, and here every throw has ended the program before one could.
extern "C" int __gxx_personality_v0() { Fatal(); }
#endif

// Every helper of the library's functexcept.o: defining only some would let
// the linker pull that object in as well and clash with these.
namespace std {

void __throw_bad_exception() { Fatal(); }
void __throw_bad_alloc() { Fatal(); }
void __throw_bad_array_new_length() { Fatal(); }
void __throw_bad_cast() { Fatal(); }
void __throw_bad_typeid() { Fatal(); }
void __throw_logic_error(const char*) { Fatal(); }
void __throw_domain_error(const char*) { Fatal(); }
void __throw_invalid_argument(const char*) { Fatal(); }
void __throw_length_error(const char*) { Fatal(); }
void __throw_out_of_range(const char*) { Fatal(); }
void __throw_out_of_range_fmt(const char*, ...) { Fatal(); }
void __throw_runtime_error(const char*) { Fatal(); }
void __throw_range_error(const char*) { Fatal(); }
void __throw_overflow_error(const char*) { Fatal(); }
void __throw_underflow_error(const char*) { Fatal(); }

}  // namespace std
