# zef_program_allocator(TARGET): the program allocates through mimalloc.
# A conversion builds and frees millions of small nodes and strings, one
# document after another; mimalloc hands them out from per-size pages, frees
# them without merging neighbours and keeps freed pages for the next
# document, where the C library's allocator spent about a fifth of the
# post-process. It replaces malloc for the whole process (MeCab, zlib and
# Qt too) by coming before the C library in the program's needed libraries,
# so it is linked even though no symbol of it is named. A sanitizer brings
# its own allocator: then the C library's stays.
function(zef_program_allocator target)
  if(ZEF_SANITIZE OR ZEF_THREAD_SANITIZE)
    return()
  endif()
  find_package(mimalloc 2.0 REQUIRED CONFIG)
  target_link_libraries(${target} PRIVATE "-Wl,--push-state,--no-as-needed" mimalloc "-Wl,--pop-state")
endfunction()
