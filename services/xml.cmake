# Modules over the XML layer: the XML helpers with the web-service call, and the translator.
target_sources(services PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LibXml.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/TranslatorU.cpp)
target_link_libraries(services PUBLIC platform_xml)
