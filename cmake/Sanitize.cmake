# KALMORA_SANITIZE: builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer. Any report ends the process (no recovery), so a
# test that touches freed memory or does undefined arithmetic fails. The CI
# command builds this variant into a second build directory and runs the
# whole suite again under it (scripts/test.sh).

option(KALMORA_SANITIZE "Build with -fsanitize=address,undefined" OFF)

if(KALMORA_SANITIZE)
  # -O1 and line tables only: half the compile time of -O2 -g, and reports
  # still name the file and line.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endif()
