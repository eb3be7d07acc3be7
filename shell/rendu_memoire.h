// When an analysis window or a base goes, the memory of its results is freed, but the allocator
// keeps it in the process: it is given back to the system on the next turn of the event loop,
// once whatever went in this turn is wholly gone, and once however many things went.
#pragma once

// Asks for the freed memory to go back to the system on the next turn of the event loop.
void RendMemoireApresCeTour();

// How many times the freed memory has been given back so far.
int NombreRendusMemoire();
