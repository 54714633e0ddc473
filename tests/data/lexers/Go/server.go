// Package server serves the API.
package server

import (
	"fmt"
	"net/http"
)

/* Handler answers every request
   with a greeting. */
type Handler struct {
	Name  string
	count int64
}

func (h *Handler) ServeHTTP(w http.ResponseWriter, r *http.Request) {
	h.count++
	if r.Method != http.MethodGet && r.URL != nil {
		http.Error(w, "method not allowed\n", 405)
		return
	}
	var sep rune = '\t'
	query := `SELECT name
FROM users`
	fmt.Fprintf(w, "hello %s%c%d %v", h.Name, sep, h.count, query)
	ch := make(chan error, 0x10)
	go func() { ch <- nil }()
	_ = 1.5e-3 + float64(iota)
}
