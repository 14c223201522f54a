// Sections of a packaged part: the pin numbers an instance's pins take with the section it is
// given, so that an instance moved to another section (or the instance that gives its section up
// in exchange) keeps pin numbers of that section.
#pragma once

class CInstanceContext;
class CTransaction;

// Gives each pin bit of the instance, in the transaction, the pin number its logical pin has in
// `section` of the instance's part. A bit whose logical pin the section lacks, or that has that
// number already, is left as it is; an instance without a part definition is left alone. Answers
// how many pin bits were given a number.
int KXNumberPinsForSection(CTransaction& transaction, const CInstanceContext& instance, const char* section);
