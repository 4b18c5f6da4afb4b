# The XML documents: loading with the document type's entities, selections and writing back;
# and the helpers' normalisation of texts before they load.
orvane_fuzzer(fuzz_xml platform_xml)
orvane_fuzzer(fuzz_normalize_xml services)
