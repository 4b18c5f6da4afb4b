// The maker's web-service library CallWebService.so: one SOAP-style call over HTTP.
//
//   const char* CallWebServiceFx(const char* endpoint, const char* method,
//                                const char* request, const char* resultFile)
//
// Posts to endpoint (an http:// or https:// address) a SOAP 1.1 envelope whose body is the
// element named method holding the element "request" with the request text, with the header
// SOAPAction: "method". The answer text goes into resultFile (UTF-8, written whole, replacing
// the file): the text of the response element's first child (the returned string; when that
// child holds elements rather than text, their XML), or the whole response body when it is not
// a SOAP envelope. The answer is null on success, else the failure text (connection failure,
// time-out, an HTTP status other than 2xx with the SOAP fault's text when there is one, a
// file that cannot be written); the text belongs to the library and stays valid until the
// calling thread's next call. No result file is written on failure.
//
// Time-outs: 10 s to connect, 60 s for the whole call; $ORVANE_WEBSERVICE_TIMEOUT_MS sets the
// whole-call limit in milliseconds. Answers above 64 MiB are refused. Thread-safe: every call
// has its own HTTP handle.
#pragma once

extern "C" {
const char* CallWebServiceFx(const char* endpoint, const char* method, const char* request,
                             const char* resultFile);
}
