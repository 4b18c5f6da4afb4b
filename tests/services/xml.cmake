# The XML helpers and the translator load the stand-in libraries by name from their build folders.
add_dependencies(test_services Ktlanguage CallWebService KtlanguageHalf)
target_compile_definitions(test_services PRIVATE
  KTLANGUAGE_DIR="$<TARGET_FILE_DIR:Ktlanguage>"
  CALLWEBSERVICE_DIR="$<TARGET_FILE_DIR:CallWebService>"
  KTLANGUAGE_HALF_DIR="$<TARGET_FILE_DIR:KtlanguageHalf>")

# A language library that lacks the entry "BIG5toGB", under the real library's name.
add_library(KtlanguageHalf MODULE ${CMAKE_CURRENT_LIST_DIR}/KtlanguageHalf.cpp)
set_target_properties(KtlanguageHalf PROPERTIES PREFIX "" OUTPUT_NAME Ktlanguage
                      CXX_VISIBILITY_PRESET hidden
                      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/ktlanguage-half)
