# The default dictionary, "Dictionaries/Standard English.owd", built with OWBUILD
# from Debian's SCOWL British English (huge) list, without possessive forms,
# and the multi-word phrases of WordNet that a clue could use. The words of
# SCOWL's British English (small) list are marked common. The licence notices
# of both lists go beside it (the two SCOWL lists share one).
set(QUILLON_DICTIONARY_DIR ${QUILLON_DIST_DIR}/Dictionaries)
set(QUILLON_DICTIONARY "${QUILLON_DICTIONARY_DIR}/Standard English.owd")
set(QUILLON_SCOWL /usr/share/dict/british-english-huge)
set(QUILLON_COMMON_WORDS /usr/share/dict/british-english-small)
set(QUILLON_WORDNET_INDEXES
  /usr/share/wordnet/index.noun /usr/share/wordnet/index.verb
  /usr/share/wordnet/index.adj /usr/share/wordnet/index.adv)
set(QUILLON_LICENCES
  /usr/share/doc/wbritish-huge/copyright "SCOWL word list licence.txt"
  /usr/share/doc/wordnet-base/copyright "WordNet licence.txt")

if(CMAKE_CROSSCOMPILING)
  if(NOT QUILLON_HOST_OWBUILD)
    message(FATAL_ERROR "A cross-compiled tree builds its dictionary with a native OWBUILD: "
                        "set QUILLON_HOST_OWBUILD (scripts/build does)")
  endif()
  set(owbuild_program "${QUILLON_HOST_OWBUILD}")
  set(owbuild_depends "${QUILLON_HOST_OWBUILD}")
else()
  set(owbuild_program $<TARGET_FILE:owbuild>)
  set(owbuild_depends owbuild)
endif()

set(sources ${QUILLON_SCOWL} ${QUILLON_COMMON_WORDS} ${QUILLON_WORDNET_INDEXES})
foreach(f ${sources})
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "${f} is missing: install the packages wbritish-huge, wbritish-small "
                        "and wordnet-base "
                        "(scripts/deps does)")
  endif()
endforeach()

set(wordnet_arguments)
foreach(f ${QUILLON_WORDNET_INDEXES})
  list(APPEND wordnet_arguments --wordnet ${f})
endforeach()
set(licence_commands)
set(licence_outputs)
set(licence_sources)
list(LENGTH QUILLON_LICENCES n)
math(EXPR last "${n} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET QUILLON_LICENCES ${i} from)
  list(GET QUILLON_LICENCES ${j} to)
  list(APPEND licence_sources ${from})
  list(APPEND licence_outputs "${QUILLON_DICTIONARY_DIR}/${to}")
  list(APPEND licence_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${from}
       "${QUILLON_DICTIONARY_DIR}/${to}")
endforeach()

add_custom_command(OUTPUT ${QUILLON_DICTIONARY} ${licence_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_DICTIONARY_DIR}
  COMMAND ${owbuild_program} --no-possessives --plain --clue-phrases
          --common ${QUILLON_COMMON_WORDS}
          --description "Standard English: SCOWL British English (huge) with its small list marked common, and WordNet phrases"
          ${QUILLON_SCOWL} ${wordnet_arguments} -o ${QUILLON_DICTIONARY}
  ${licence_commands}
  DEPENDS ${owbuild_depends} ${sources} ${licence_sources}
  COMMENT "Building the default dictionary"
  VERBATIM)
add_custom_target(quillon_dictionary_file ALL DEPENDS ${QUILLON_DICTIONARY} ${licence_outputs})
quillon_runnable_files(quillon_dictionary_file ${QUILLON_DICTIONARY} ${licence_outputs})
