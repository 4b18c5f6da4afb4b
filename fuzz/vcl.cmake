# The form reader over the parser: components made, properties set by name, references fixed up.
orvane_fuzzer(fuzz_formreader platform_vcl)
